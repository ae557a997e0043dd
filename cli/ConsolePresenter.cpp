#include "cli/ConsolePresenter.h"

namespace cli {

const char* PromptText(Prompt prompt) {
    return prompt == Prompt::MainWindow ? "Press Enter to download, q or Esc to quit.\n"
                                        : "Press Enter to continue.\n";
}

}  // namespace cli
