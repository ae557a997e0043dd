// A fresh directory under the system's temporary directory, removed with its contents when
// the object goes; optionally the working directory while the object lives.
#pragma once

#include <string>

#include "tests/support/NonCopyable.h"

namespace testing_support {

class TemporaryDirectory : NonCopyable {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    void WriteFile(const std::string& name, const std::string& contents) const;
    // Makes this the working directory until the object goes.
    void Enter();

private:
    std::string m_path;
    std::string m_previousDirectory;
};

}  // namespace testing_support
