// The install and the removal driving the real completion bar: what reaches the
// dialog is exactly what a byte-at-a-time copy would have shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "launcher/manifest.h"
#include "tests/win/cbar_support.h"
#include "tests/win/testsupport.h"

extern int numbytes;

namespace {
// The bar's values from the counting rule alone, one byte at a time.
std::vector<int> byteModel(const std::vector<size_t>& sizes, int numbytesAtStart)
{
    std::vector<int> out;
    double total = 0;
    int n = numbytesAtStart;
    for (size_t size : sizes)
        for (size_t k = 0; k < size; ++k) {
            total += 1;
            if (++n > 12000) {
                const int p = static_cast<int>(total * (1.0 / 11500000) * 100);
                out.push_back(p > 100 ? 100 : p);
                n = 0;
            }
        }
    return out;
}

class InstallBar : public CBarTest {
protected:
    void SetUp() override
    {
        CBarTest::SetUp();
        GetCurrentDirectoryA(sizeof saved_, saved_);
        const std::string base = exeDir() + "\\installbar_test";
        media_ = base + "\\media";
        const std::string tree = base + "\\tmp\\BK2DEMO";
        for (const std::string& d : {base, media_, media_ + "\\DEMODATA", media_ + "\\SIM",
                                     media_ + "\\SIM\\LAUNCH", base + "\\tmp"})
            CreateDirectoryA(d.c_str(), nullptr);
        snprintf(dir0, PATH_BUF, "%s", tree.c_str());
        snprintf(dir1, PATH_BUF, "%s\\DEMODATA", tree.c_str());
        snprintf(dir2, PATH_BUF, "%s\\SIM", tree.c_str());
        snprintf(dir3, PATH_BUF, "%s\\SIM\\LAUNCH", tree.c_str());
        for (const char* d : {dir0, dir1, dir2, dir3})
            CreateDirectoryA(d, nullptr);
        // Sizes that put update points inside blocks, across files and at file ends.
        for (int i = 0; i < INSTALL_COUNT; ++i) {
            sizes_.push_back(static_cast<size_t>(1 + (i * 7919) % 40000 + (i % 9 == 0 ? 70000 : 0)));
            FILE* f = fopen((media_ + "\\" + installManifest[i]).c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::string data(sizes_.back(), static_cast<char>('a' + i % 26));
            fwrite(data.data(), 1, data.size(), f);
            fclose(f);
        }
        SetCurrentDirectoryA(media_.c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_);
        CBarTest::TearDown();
    }
    char saved_[MAX_PATH];
    std::string media_;
    std::vector<size_t> sizes_;
};
}  // namespace

TEST_F(InstallBar, TheDialogSeesTheByteModelsValuesThenTheRemovalSteps)
{
    numbytes = 5000;  // carried over from an earlier install
    std::vector<int> install;
    std::string installTitle;
    {
        SentLog log;
        ASSERT_TRUE(installGame());
        installTitle = titleOf(openDialog());
        install = log.percents("bordlg");
    }
    CloseCompletionBar();
    EXPECT_EQ(installTitle, "Please wait...Installing BK2 Demo!");
    EXPECT_EQ(install, byteModel(sizes_, 5000));
    EXPECT_GT(install.size(), 100u);

    std::vector<int> removal;
    {
        SentLog log;
        killbrak();
        removal = log.percents("bordlg");
    }
    EXPECT_EQ(removal, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(openDialog(), nullptr);  // closed at its end
    EXPECT_EQ(GetFileAttributesA(dir0), INVALID_FILE_ATTRIBUTES);
}
