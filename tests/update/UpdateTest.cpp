#include "tests/update/UpdateTest.h"

#include <sstream>

void UpdateTest::ExpectIdleAt(DWORD at) {
    model.Probe(at, [this] {
        EXPECT_TRUE(dialog.GetDlgItem(IDC_DOWNLOAD)->IsWindowEnabled());
        EXPECT_EQ(win::GetFocus(), dialog.GetDlgItem(IDC_DOWNLOAD)->m_hWnd);
        EXPECT_TRUE(dialog.IsWindowEnabled());
        EXPECT_EQ(win::TopLevelWindows().size(), 1u) << "no progress window is left open";
        EXPECT_EQ(dialog.m_transferImages[1].size, 0u) << "the images are freed";
        EXPECT_EQ(dialog.m_set1Images[0].size, 0u);
        EXPECT_EQ(sim.OpenHandles(), 0u) << "the run's port closed its pipes";
    });
}

std::vector<std::string> UpdateTest::Row(const std::array<std::string, 4>& versions,
                                         const std::array<std::string, 4>& checksums) const {
    std::vector<std::string> row;
    for (size_t slot = 0; slot < 4; ++slot) {
        row.push_back(versions[slot] + "/" + checksums[slot]);
    }
    return row;
}

std::vector<std::string> UpdateTest::Log(unsigned printer) {
    std::vector<std::string> lines;
    std::istringstream log(sim.ReceivedLog(printer));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}
