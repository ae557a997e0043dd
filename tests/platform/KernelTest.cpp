#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/Kernel.h"
#include "platform/VirtualClock.h"
#include "platform/kernel/EndSignals.h"
#include "tests/support/Handles.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using testing_support::ScopedEnvironment;
using testing_support::TemporaryDirectory;

TEST(VirtualClockTest, SleepAndReadingsMoveItAndItWraps) {
    win::VirtualClock clock(0xFFFFFFF0u);
    win::SetClock(&clock);
    win::Sleep(0x20);
    EXPECT_EQ(win::GetTickCount(), 0x10u) << "32-bit milliseconds wrap past their maximum";
    clock.SetAdvancePerReading(7);
    EXPECT_EQ(win::GetTickCount(), 0x17u);
    EXPECT_EQ(win::GetTickCount(), 0x1Eu);
    win::SetClock(nullptr);
}

TEST(KernelTest, LanguageFollowsTheLocaleOfMessages) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        WORD expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", LANG_JAPANESE},
        {nullptr, nullptr, "de_DE.UTF-8", LANG_ENGLISH_US},
        {nullptr, "ja_JP", "en_US", LANG_JAPANESE},
        {"C", "ja_JP", "ja_JP", LANG_ENGLISH_US},
        {nullptr, nullptr, nullptr, LANG_ENGLISH_US},
        {nullptr, nullptr, "jaunty", LANG_JAPANESE},
        {nullptr, nullptr, "", LANG_ENGLISH_US},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment;
        const std::pair<const char*, const char*> values[] = {
            {"LC_ALL", c.lcAll}, {"LC_MESSAGES", c.lcMessages}, {"LANG", c.lang}};
        for (const auto& [name, value] : values) {
            if (value != nullptr) {
                environment.Set(name, value);
            } else {
                environment.Unset(name);
            }
        }
        EXPECT_EQ(win::GetUserDefaultLangID(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(KernelTest, NamedMutexAnswersAlreadyExistsForASecondCreation) {
    TemporaryDirectory place;
    ScopedEnvironment environment;
    environment.Set("RXT9_LOCK_DIR", place.Path());
    const HANDLE first = win::CreateMutexA(nullptr, TRUE, "rxt9 test mutex");
    ASSERT_NE(first, 0);
    EXPECT_EQ(win::GetLastError(), ERROR_SUCCESS);
    const HANDLE second = win::CreateMutexA(nullptr, TRUE, "rxt9 test mutex");
    EXPECT_EQ(win::GetLastError(), ERROR_ALREADY_EXISTS);
    win::CloseHandle(second);
    const HANDLE other = win::CreateMutexA(nullptr, TRUE, "rxt9 other mutex");
    EXPECT_EQ(win::GetLastError(), ERROR_SUCCESS) << "names are independent";
    win::CloseHandle(other);
    win::CloseHandle(first);
    const HANDLE again = win::CreateMutexA(nullptr, TRUE, "rxt9 test mutex");
    EXPECT_EQ(win::GetLastError(), ERROR_SUCCESS) << "gone with its owner";
    win::CloseHandle(again);
}

// Where the single-instance lock goes, and what it refuses: a place that another user could
// have prepared, or a link that would move the lock somewhere else. The user's own directory
// is made in the place that RXT9_LOCK_DIR names, as in /tmp without it.
struct LockPlaceCase {
    const char* name;
    std::function<void(const std::string& own)> prepare;
    win::MutexOutcome expected;
};

std::string OwnDirectoryIn(const std::string& place) {
    return place + "/rxt9-update-" + std::to_string(geteuid());
}

TEST(KernelTest, TheLockLivesOnlyWhereNoOtherUserCanReach) {
    namespace fs = std::filesystem;
    using enum win::MutexOutcome;
    const std::string lockName = "rxt9 lock test." + std::to_string(geteuid()) + ".lock";
    const LockPlaceCase cases[] = {
        {"new directory", nullptr, Owned},
        {"own directory already there",
         [](const std::string& own) {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::owner_all);
         },
         Owned},
        {"directory open to others",
         [](const std::string& own) {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::all);
         },
         Failed},
        {"a file in its place",
         [](const std::string& own) { std::ofstream(own) << "not a directory"; }, Failed},
        {"a link in its place",
         [](const std::string& own) { fs::create_directory_symlink("/tmp", own); }, Failed},
        {"lock file is a link",
         [&](const std::string& own) {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::owner_all);
             fs::create_symlink(own + "/elsewhere", own + "/" + lockName);
         },
         Failed},
        {"lock file is a directory",
         [&](const std::string& own) {
             fs::create_directory(own);
             fs::permissions(own, fs::perms::owner_all);
             fs::create_directory(own + "/" + lockName);
         },
         Failed},
    };
    for (const LockPlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDirectory place;
        ScopedEnvironment environment;
        environment.Set("RXT9_LOCK_DIR", place.Path());
        const std::string own = OwnDirectoryIn(place.Path());
        if (c.prepare) {
            c.prepare(own);
        }
        ::testing::internal::CaptureStderr();
        const HANDLE lock = win::CreateMutexA(nullptr, TRUE, "rxt9 lock test");
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(win::LastMutexOutcome(), c.expected);
        if (c.expected == Failed) {
            EXPECT_EQ(lock, 0);
            EXPECT_NE(said.find("cannot take the single-instance lock"), std::string::npos) << said;
        } else {
            EXPECT_NE(lock, 0);
            EXPECT_EQ(said, "");
            win::CloseHandle(lock);
        }
        if (c.expected == Owned) {
            EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all)
                << "the directory is private";
        }
    }
}

// In a child process of its own, since the signals go to the whole process: each signal that
// would end it is acknowledged and handed on as a request, and the process lives on.
TEST(EndSignalsTest, SignalsThatWouldEndTheProcessBecomeRequests) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        bool allTaken = false;
        {
            win::EndSignals watch;
            std::atomic<int> acknowledged{0};
            watch.OnArrival([&](int) { ++acknowledged; });
            std::vector<int> sent = {SIGHUP,  SIGINT,  SIGQUIT, SIGUSR1,     SIGUSR2,
                                     SIGPIPE, SIGALRM, SIGTERM, SIGRTMIN + 2};
            for (const int signal : sent) {
                kill(getpid(), signal);
            }
            std::vector<int> taken;
            while (taken.size() < sent.size()) {
                pollfd ready{watch.Descriptor(), POLLIN, 0};
                if (poll(&ready, 1, 5000) != 1) {
                    _exit(2);
                }
                while (const int signal = watch.Take()) {
                    taken.push_back(signal);
                }
            }
            std::sort(sent.begin(), sent.end());
            std::sort(taken.begin(), taken.end());
            allTaken = taken == sent && acknowledged == static_cast<int>(sent.size());
        }
        sigset_t blocked;
        pthread_sigmask(SIG_SETMASK, nullptr, &blocked);
        _exit(!allTaken ? 1 : sigismember(&blocked, SIGTERM) == 1 ? 3 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: wrong signals taken, 2: none came, 3: still blocked once the watch ended";
}

TEST(KernelTest, FileAttributesTellWhetherAPathExists) {
    TemporaryDirectory directory;
    directory.WriteFile("Sales.txt", "");
    EXPECT_EQ(win::GetFileAttributesA(directory.File("Sales.txt").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(win::GetFileAttributesA(directory.Path().c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(win::GetFileAttributesA(directory.File("sales.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(win::GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

TEST(KernelTest, LibraryLoadingLooksOnlyBesideTheProgram) {
    TemporaryDirectory directory;
    directory.WriteFile("NotALibrary.so", "this is text, not a shared object");
    directory.Enter();
    EXPECT_EQ(win::LoadLibraryA("NotALibrary.dll"), nullptr)
        << "the current directory is not searched";
    EXPECT_EQ(win::GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(win::LoadLibraryA("./NotALibrary.so"), nullptr) << "a file that is no library";
    EXPECT_EQ(win::LoadLibraryA(""), nullptr);
    EXPECT_EQ(win::GetProcAddress(nullptr, "SetVenderID"), nullptr);
    EXPECT_FALSE(win::FreeLibrary(nullptr));
    const std::string directoryOfProgram = win::GetModuleDirectory();
    ASSERT_FALSE(directoryOfProgram.empty());
    EXPECT_EQ(directoryOfProgram.back(), '/');
}

TEST(KernelTest, FileCallsNeverReachTheStandardStreams) {
    // A library that hands out 0, 1 or 2 as pipe handles must not make the tool read its
    // terminal, write printer commands to its output or close either.
    for (const HANDLE stream : {HANDLE{0}, HANDLE{1}, HANDLE{2}}) {
        const bool wasOpen = testing_support::IsHandleOpen(stream);
        char byte = 'x';
        DWORD moved = 99;
        win::SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(win::ReadFile(stream, &byte, 1, &moved, nullptr)) << stream;
        EXPECT_EQ(moved, 0u);
        EXPECT_EQ(win::GetLastError(), ERROR_INVALID_HANDLE);
        moved = 99;
        win::SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(win::WriteFile(stream, &byte, 1, &moved, nullptr)) << stream;
        EXPECT_EQ(moved, 0u);
        EXPECT_EQ(win::GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(win::CloseHandle(stream)) << stream;
        EXPECT_EQ(testing_support::IsHandleOpen(stream), wasOpen) << stream;
    }
}

TEST(KernelTest, CommandLineArguments) {
    char program[] = "rxt9-update";
    char option[] = "-frcdlm";
    char* argv[] = {program, option};
    win::SetCommandLine(2, argv);
    EXPECT_EQ(win::GetArgCount(), 2);
    EXPECT_STREQ(win::GetArg(1), "-frcdlm");
    EXPECT_EQ(win::GetArg(2), nullptr);
    EXPECT_EQ(win::GetArg(-1), nullptr);
    win::SetCommandLine(0, nullptr);
    EXPECT_EQ(win::GetArgCount(), 0);
}

}  // namespace
