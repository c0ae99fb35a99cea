#pragma once
// Loads the real main window under the offscreen platform for a test, and takes it down afterwards.

#include <gtest/gtest.h>

#include <filesystem>

namespace testing_support {

// Starts the toolkit once per process (QT_QPA_PLATFORM=offscreen comes from the test's environment).
void startToolkit();

// Each test gets its own temporary folder as TMPDIR, fresh key arrays and a freshly loaded window.
// Attach recording devices in SetUp() before calling loadWindow().
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void loadWindow();

    std::filesystem::path m_tempDir;
};

} // namespace testing_support
