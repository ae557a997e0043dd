#include "cli/ConsolePresenter.h"

namespace cli {

const char* NameOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return "none";
        case BoxIcon::Error:
            return "error";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Warning:
            return "warning";
        case BoxIcon::Information:
            return "information";
    }
    return "none";
}

const char* PromptText(Prompt prompt) {
    return prompt == Prompt::MainWindow ? "Press Enter to download, q or Esc to quit.\n"
                                        : "Press Enter to continue.\n";
}

}  // namespace cli
