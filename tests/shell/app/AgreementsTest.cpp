// The first run's two agreements: the notice with its language and printing, the licence text
// from the disc in that language, and what ends them.
#include "base/AppServices.h"
#include "shell/LicenseAgreementDlg.h"
#include "shell/ProofOfEntitlementDlg.h"

#include "resource.h"

#include <host/Drives.h>
#include <host/Printer.h>
#include <host/Surface.h>

#include <TempDir.h>
#include <UiTest.h>

#include "../ShellUiTest.h"

#include <afxwin.h>

#include <string>

namespace {

std::string ItemText(HWND hDialog, int nId)
{
    char buffer[4096] = {};
    ::GetDlgItemText(hDialog, nId, buffer, sizeof buffer);
    return buffer;
}

void Press(HWND hDialog, int nId)
{
    ::SendMessage(::GetDlgItem(hDialog, nId), BM_CLICK, 0, 0);
}

// Disc 1's data in T:\data (the profile's [Files] "DataDir") with both licence texts.
class AgreementsTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        dir.Write("t/data/Licnengl.txt", "English licence.\r\nSecond line.");
        dir.Write("t/data/Licnfren.txt", "Licence fran\xE7" "aise.");
        host::SetPrintFolder((dir.path() / "print").string());
        host::ClearPrintedJobs();
    }
    void TearDown() override
    {
        host::SetPrintFolder("");
        ShellUiTest::TearDown();
    }
};

TEST_F(AgreementsTest, TheNoticesLanguageChoosesTheLicenceText)
{
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        std::string shown;
        host::RunInNextModalLoop([language](HWND hNotice) {
            EXPECT_EQ(ProofOfEntitlementDlg::s_szNotice, ItemText(hNotice, IDC_POE_TEXT));
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hNotice, IDC_POE_ENGLISH)) << "English first";
            if (language == 1)
                Press(hNotice, IDC_POE_FRENCH);
            Press(hNotice, IDOK);
        });
        host::RunInNextModalLoop([&shown](HWND hLicence) {
            shown = ItemText(hLicence, IDC_LICENSE_TEXT);
            EXPECT_EQ(LicenseAgreementDlg::s_szNote, ItemText(hLicence, IDC_LICENSE_NOTE));
            EXPECT_EQ(::GetDlgItem(hLicence, IDC_LICENSE_TEXT), ::GetFocus());
            Press(hLicence, IDOK);
        });
        EXPECT_EQ(IDOK, RunFirstRunAgreements(NULL));
        EXPECT_EQ(language == 1 ? "Licence fran\xE7" "aise." : "English licence.\r\nSecond line.", shown);
    }
}

TEST_F(AgreementsTest, DecliningEitherAgreementOrAMissingTextEndsWithCancel)
{
    host::RunInNextModalLoop([](HWND hNotice) { Press(hNotice, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, RunFirstRunAgreements(NULL));

    host::RunInNextModalLoop([](HWND hNotice) { Press(hNotice, IDOK); });
    host::RunInNextModalLoop([](HWND hLicence) { Press(hLicence, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, RunFirstRunAgreements(NULL));

    // The text cannot be read: the framework's report, then Cancel without the reader.
    std::filesystem::remove(dir.path() / "t" / "data" / "Licnengl.txt");
    host::RunInNextModalLoop([](HWND hNotice) { Press(hNotice, IDOK); });
    host::AnswerNextMessageBox(IDOK);
    EXPECT_EQ(IDCANCEL, RunFirstRunAgreements(NULL));
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_NE(std::string::npos, host::MessageBoxLog()[0].text.find("Licnengl.txt"));
}

TEST_F(AgreementsTest, PrintingTheNoticeMakesOnePageAndCancellingPrintsNothing)
{
    host::RunInNextModalLoop([](HWND hNotice) {
        host::CancelCommonDialog("print");
        Press(hNotice, IDC_POE_PRINT);
        EXPECT_TRUE(host::PrintedJobs().empty());
        EXPECT_TRUE(::IsWindow(hNotice)) << "the notice stays open";
        host::AnswerCommonDialog("print", "");
        Press(hNotice, IDC_POE_PRINT);
        Press(hNotice, IDCANCEL);
    });
    ProofOfEntitlementDlg notice(NULL);
    EXPECT_EQ(IDCANCEL, notice.DoModal());

    std::vector<host::PrintedJob> jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Proof Of Entitlement", jobs[0].docName);
    ASSERT_EQ(1u, jobs[0].pages.size());
    // Ink lies only inside the inch-wide margins (the page is the printable area).
    const host::Surface& page = *jobs[0].pages[0];
    const host::PrinterSettings printer = host::GetPrinter();
    int nInkTop = -1;
    for (int y = 0; y < page.Height() && nInkTop < 0; ++y)
        for (int x = 0; x < page.Width(); ++x)
            if (page.Get(x, y) != 0xFFFFFF) {
                nInkTop = y;
                break;
            }
    EXPECT_GE(nInkTop, printer.dpi - 5) << "the text starts an inch down";
    EXPECT_LT(nInkTop, printer.dpi + printer.dpi / 2);
}

}  // namespace
