// The install and the removal driving the real completion bar: what reaches the
// dialog is exactly what a byte-at-a-time copy would have shown, install after
// install in one process.
#include <gtest/gtest.h>

#include <string>

#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/common/testfs.h"
#include "tests/common/bytemodel.h"
#include "tests/win/cbar_support.h"
#include "tests/win/testsupport.h"
#include "tests/win/testtree.h"

namespace {
class InstallBar : public CBarTest {
protected:
    void SetUp() override
    {
        CBarTest::SetUp();
        GetCurrentDirectoryA(sizeof saved_, saved_);
        base_ = exeDir() + "\\installbar_test";
        removeTree(base_);
        CreateDirectoryA(base_.c_str(), nullptr);
        sizes_ = buildMedia(base_ + "\\media");
        useTemp(base_ + "\\tmp");
        SetCurrentDirectoryA((base_ + "\\media").c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_);
        CBarTest::TearDown();
        if (!HasFailure())
            removeTree(base_);
    }
    char saved_[MAX_PATH];
    std::string base_;
    std::vector<size_t> sizes_;
};
}  // namespace

TEST_F(InstallBar, TwoInstallsShowTheByteModelsValuesThenTheRemovalSteps)
{
    numbytes = 5000;  // carried over from an earlier install
    int model = 5000;
    for (int install = 1; install <= 2; ++install) {
        SCOPED_TRACE(install);
        std::vector<int> shown;
        {
            SentLog log;
            ASSERT_TRUE(installGame());
            EXPECT_EQ(titleOf(openDialog()), "Please wait...Installing BK2 Demo!");
            shown = log.percents("bordlg");
        }
        CloseCompletionBar();
        // The second starts again at 0, with numbytes where the first left it.
        EXPECT_EQ(shown, percentsOf(byteModel(sizes_, model)));
        EXPECT_EQ(numbytes, model);
        ASSERT_GT(shown.size(), 10u);
        EXPECT_EQ(shown.front(), 0);
    }

    std::vector<int> removal;
    {
        SentLog log;
        killbrak();
        removal = log.percents("bordlg");
    }
    EXPECT_EQ(removal, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(openDialog(), nullptr);  // closed at its end
    EXPECT_FALSE(dirExists(dir0));
}
