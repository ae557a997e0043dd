// The base of the test helpers that own something outside their own memory, a directory, a
// pipe, a mock device: a copy would release it twice.
#pragma once

namespace testing_support {

class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

}  // namespace testing_support
