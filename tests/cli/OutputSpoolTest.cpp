// The writer that keeps a stalled terminal or pipe from holding up the program: text waits in
// order, progress that cannot be written yet is replaced, and an output that fails is told.
#include "platform/console/OutputSpool.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {

using console::OutputSpool;

// A pipe whose buffer is full, so that the next write to it blocks until its reader reads.
class StalledPipe {
public:
    StalledPipe() {
        EXPECT_EQ(pipe(m_ends), 0);
        const int flags = fcntl(m_ends[1], F_GETFL);
        fcntl(m_ends[1], F_SETFL, flags | O_NONBLOCK);
        const std::string filler(4096, '.');
        ssize_t written = 0;
        while ((written = write(m_ends[1], filler.data(), filler.size())) > 0) {
            m_filled += static_cast<size_t>(written);
        }
        fcntl(m_ends[1], F_SETFL, flags);
    }
    ~StalledPipe() {
        close(m_ends[0]);
        close(m_ends[1]);
    }
    StalledPipe(const StalledPipe&) = delete;
    StalledPipe& operator=(const StalledPipe&) = delete;

    int WriteEnd() const { return m_ends[1]; }
    // Reads until `length` bytes after the filler have come, and returns them.
    std::string ReadAfterFiller(size_t length) {
        std::string all;
        char buffer[4096];
        while (all.size() < m_filled + length) {
            const ssize_t count = read(m_ends[0], buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            all.append(buffer, static_cast<size_t>(count));
        }
        return all.substr(std::min(m_filled, all.size()));
    }

private:
    int m_ends[2] = {-1, -1};
    size_t m_filled = 0;
};

TEST(OutputSpoolTest, WritesNeverWaitAndOnlyTheNewestWaitingProgressIsKept) {
    StalledPipe pipe;
    OutputSpool spool;
    // Each of these would block at once if it were written on this thread.
    spool.Write(pipe.WriteEnd(), "first\n", OutputSpool::Kind::Lasting);
    for (const char* progress : {"10%\n", "20%\n", "30%\n"}) {
        spool.Write(pipe.WriteEnd(), progress, OutputSpool::Kind::Progress);
    }
    spool.Write(pipe.WriteEnd(), "message\n", OutputSpool::Kind::Lasting);
    spool.Write(pipe.WriteEnd(), "40%\n", OutputSpool::Kind::Progress);
    spool.Write(pipe.WriteEnd(), "50%\n", OutputSpool::Kind::Progress);

    EXPECT_FALSE(spool.Drain([] { return true; })) << "nothing can be written while stalled";
    const std::string expected = "first\n30%\nmessage\n50%\n";
    EXPECT_EQ(pipe.ReadAfterFiller(expected.size()), expected);
    EXPECT_TRUE(spool.Drain([] { return false; }));
    EXPECT_EQ(spool.ErrorOf(pipe.WriteEnd()), 0);
}

TEST(OutputSpoolTest, AnOutputThatFailsIsToldAndItsLaterTextDropped) {
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    {
        OutputSpool spool;
        spool.Write(full, "lost\n", OutputSpool::Kind::Lasting);
        spool.Write(ends[1], "kept\n", OutputSpool::Kind::Lasting);
        EXPECT_TRUE(spool.Drain([] { return false; }));
        EXPECT_EQ(spool.ErrorOf(full), ENOSPC);
        EXPECT_EQ(spool.ErrorOf(ends[1]), 0);
        spool.Write(full, "dropped\n", OutputSpool::Kind::Progress);
        EXPECT_TRUE(spool.Drain([] { return false; }));
    }
    char buffer[16] = {};
    EXPECT_EQ(read(ends[0], buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "kept\n");
    close(ends[0]);
    close(ends[1]);
    close(full);
}

TEST(OutputSpoolTest, EndingWithAWriterStuckInAWriteDoesNotWaitForIt) {
    StalledPipe pipe;
    {
        OutputSpool spool;
        spool.Write(pipe.WriteEnd(), "stuck\n", OutputSpool::Kind::Lasting);
        spool.Write(pipe.WriteEnd(), "never\n", OutputSpool::Kind::Lasting);
        EXPECT_FALSE(spool.Drain([] { return true; }));
    }  // a destructor that joined the writer would hang here
    // The stuck write completes once the reader reads; what was still queued is dropped.
    EXPECT_EQ(pipe.ReadAfterFiller(6), "stuck\n");
}

}  // namespace
