// The GIF List dialog and the button that runs it: what reaches
// "GIFList.txt" on OK, on Cancel and when it cannot be written.
#include "DialogTestSupport.h"

#include "TempDir.h"
#include "config/ConfigDlg.h"
#include "config/GifListDlg.h"
#include "platform/Profile.h"
#include "platform/dialogs/ListBox.h"
#include "res/resource.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QListWidget>
#include <QTest>
#include <QTreeView>

#include <filesystem>

using namespace dialog_testing;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class GifListTest : public DialogTest {
protected:
    void SetUp() override { SetProfileAppName("/opt/savers/quorl.scr"); }
    std::string ListFile() const { return windows / "system/GIFList.txt"; }
    std::string Picture(const std::string& name) const {
        WriteFile(pictures / name, "GIF89a");
        return pictures / name;
    }
    static std::vector<std::string> Items(QWidget* w) {
        CListBox box(FindControl(w, IDC_GIFLIST));
        std::vector<std::string> items;
        for (int i = 0; i < box.GetCount(); ++i)
            items.push_back(box.GetText(i));
        return items;
    }
    // Presses "Browse For GIF..." and chooses `path` in the file picker.
    static void Browse(QWidget* w, const std::string& path) {
        WhenModalOpens([path](QWidget* picker) {
            auto* files = qobject_cast<QFileDialog*>(picker);
            ASSERT_NE(files, nullptr);
            files->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(files)->accept();  // as its Open button does
        });
        Click(w, IDC_BROWSE);
    }
    void RunGifBackgrounds(const std::function<void(QWidget*)>& step) {
        WhenModalOpens(step);
        CConfigDlg config;
        config.OnGifBackgrounds();
    }

    TempDir windows;
    TempDir pictures;
    ScopedEnv windowsDir{"QUORL_WINDOWS_DIR", windows.path()};
};

}  // namespace

TEST_F(GifListTest, OkWithoutChangesWritesTheListSortedIgnoringCase) {
    WriteFile(ListFile(), "/p/b.gif\n/p/a.gif\n/p/C.gif\n");
    RunGifBackgrounds([](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("GIF List"));
        EXPECT_EQ(Items(w), (std::vector<std::string>{"/p/a.gif", "/p/b.gif", "/p/C.gif"}));
        Click(w, IDOK);
    });
    EXPECT_EQ(ReadFile(ListFile()), "/p/a.gif\r\n/p/b.gif\r\n/p/C.gif\r\n");
}

TEST_F(GifListTest, BrowsingAddsFullPathsAndTheSamePictureTwice) {
    const std::string moon = Picture("moon.gif");
    RunGifBackgrounds([&](QWidget* w) {
        Browse(w, moon);
        Browse(w, moon);
        Click(w, IDOK);
    });
    EXPECT_EQ(ReadFile(ListFile()), moon + "\r\n" + moon + "\r\n");
}

TEST_F(GifListTest, FilePickerListsGifsWhateverTheCaseAndOnlyExistingFiles) {
    Picture("lower.gif");
    Picture("UPPER.GIF");
    Picture("other.png");
    RunGifBackgrounds([&](QWidget* w) {
        WhenModalOpens([&](QWidget* picker) {
            auto* files = qobject_cast<QFileDialog*>(picker);
            ASSERT_NE(files, nullptr);
            EXPECT_EQ(files->nameFilters(), QStringList{"GIF Files (*.gif)"});
            EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
            files->setDirectory(QString::fromStdString(pictures.path()));
            auto* view = files->findChild<QTreeView*>();
            ASSERT_NE(view, nullptr);
            QStringList shown;
            QTRY_VERIFY_WITH_TIMEOUT(
                [&] {
                    shown.clear();
                    const QModelIndex root = view->rootIndex();
                    for (int r = 0; r < view->model()->rowCount(root); ++r)
                        shown << view->model()->index(r, 0, root).data().toString();
                    shown.sort();
                    return shown.size() == 2;
                }(),
                5000);
            EXPECT_EQ(shown, (QStringList{"UPPER.GIF", "lower.gif"}));
            files->reject();
        });
        Click(w, IDC_BROWSE);
        EXPECT_TRUE(Items(w).empty());  // a cancelled picker adds nothing
        Click(w, IDCANCEL);
    });
    EXPECT_FALSE(std::filesystem::exists(ListFile()));
}

TEST_F(GifListTest, RemoveTakesTheSelectionAndNothingWithoutOne) {
    WriteFile(ListFile(), "/p/a.gif\n/p/b.gif\n/p/c.gif\n");
    RunGifBackgrounds([](QWidget* w) {
        Click(w, IDC_REMOVE);
        EXPECT_EQ(Items(w).size(), 3u);
        CListBox(FindControl(w, IDC_GIFLIST)).SetCurSel(1);
        Click(w, IDC_REMOVE);
        EXPECT_EQ(Items(w), (std::vector<std::string>{"/p/a.gif", "/p/c.gif"}));
        Click(w, IDC_REMOVE);  // the selection went with its item
        EXPECT_EQ(Items(w).size(), 2u);
        Click(w, IDOK);
    });
    EXPECT_EQ(ReadFile(ListFile()), "/p/a.gif\r\n/p/c.gif\r\n");
}

TEST_F(GifListTest, CancelLeavesTheFileByteForByte) {
    const std::string before = "/p/z.gif\n\n/p/y.gif\r\n   \nno line end";
    WriteFile(ListFile(), before);
    const std::string extra = Picture("extra.gif");
    for (auto close : {+[](QWidget* w) { Click(w, IDCANCEL); }, +[](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); },
                       +[](QWidget* w) { w->close(); }}) {
        RunGifBackgrounds([&](QWidget* w) {
            Browse(w, extra);
            CListBox(FindControl(w, IDC_GIFLIST)).SetCurSel(0);
            Click(w, IDC_REMOVE);
            close(w);
        });
        EXPECT_EQ(ReadFile(ListFile()), before);
    }
}

TEST_F(GifListTest, AnEmptyListBoxLeavesAnEmptyFile) {
    WriteFile(ListFile(), "/p/a.gif\n");
    RunGifBackgrounds([](QWidget* w) {
        CListBox(FindControl(w, IDC_GIFLIST)).SetCurSel(0);
        Click(w, IDC_REMOVE);
        Click(w, IDOK);
    });
    EXPECT_TRUE(std::filesystem::exists(ListFile()));
    EXPECT_EQ(ReadFile(ListFile()), "");
}

TEST_F(GifListTest, AFailedWriteTellsTheUserAndKeepsWhatWasThere) {
    // A folder where the list file belongs: it cannot be replaced, even by
    // a user who may write anywhere.
    WriteFile(ListFile() + "/keep", "x");
    MessageBoxLog log;
    RunGifBackgrounds([&](QWidget* w) {
        Browse(w, Picture("a.gif"));
        Click(w, IDOK);
    });
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_NE(log.boxes[0].text.find("picture list could not be saved"), std::string::npos) << log.boxes[0].text;
    EXPECT_NE(log.boxes[0].text.find(ListFile()), std::string::npos) << log.boxes[0].text;
    EXPECT_EQ(log.boxes[0].caption, "quorl");
    EXPECT_EQ(log.boxes[0].type, unsigned(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadFile(ListFile() + "/keep"), "x");

    // A successful OK says nothing.
    std::filesystem::remove_all(ListFile());
    RunGifBackgrounds([](QWidget* w) { Click(w, IDOK); });
    EXPECT_EQ(log.boxes.size(), 1u);
}

TEST_F(GifListTest, CallerListIsKeptOnCancelAndReplacedInListOrderOnOk) {
    CGifListDlg dlg;
    dlg.m_astrGIFFiles = {"/q/b.gif", "/q/a.gif"};
    WhenModalOpens([](QWidget* w) { Click(w, IDCANCEL); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_astrGIFFiles, (std::vector<std::string>{"/q/b.gif", "/q/a.gif"}));
    WhenModalOpens([](QWidget* w) { Click(w, IDOK); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_astrGIFFiles, (std::vector<std::string>{"/q/a.gif", "/q/b.gif"}));
}
