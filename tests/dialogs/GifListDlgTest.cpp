// The GIF List dialog and the button that runs it: what reaches
// "GIFList.txt" on OK, on Cancel and when it cannot be written.
#include "DialogTestSupport.h"

#include "TempDir.h"
#include "config/ConfigDlg.h"
#include "platform/Profile.h"
#include "platform/dialogs/ListBox.h"
#include "res/resource.h"

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
    void SetUp() override {
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("/opt/savers/quorl.scr");
    }
    std::string ListFile() const { return windows / "system/GIFList.txt"; }
    std::string Picture(const std::string& name) const {
        WriteFile(pictures / name, "GIF89a");
        return pictures / name;
    }
    static void RemoveItem(QWidget* w, int index) {
        CListBox(FindControl(w, IDC_GIFLIST)).SetCurSel(index);
        Click(w, IDC_REMOVE);
    }
    // Presses "Browse For GIF..." and chooses `path` in the file picker.
    static void Browse(QWidget* w, const std::string& path) {
        WhenModalOpens([path](QWidget* picker) {
            static_cast<QFileDialog*>(picker)->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(picker)->accept();  // as its Open button does
        });
        Click(w, IDC_BROWSE);
    }
    void RunGifBackgrounds(const std::function<void(QWidget*)>& step) {
        WhenModalOpens(step);
        CConfigDlg().OnGifBackgrounds();
    }

    TempDir windows;
    TempDir pictures;
    ScopedEnv windowsDir{"QUORL_WINDOWS_DIR", windows.path()};
};

}  // namespace

// The names the file picker lists in its current folder, sorted.
std::string Shown(const QTreeView* view) {
    QStringList shown;
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
        shown << view->model()->index(r, 0, view->rootIndex()).data().toString();
    shown.sort();
    return shown.join(' ').toStdString();
}

// One editing session. The list is sorted ignoring ASCII case, equal items
// after each other, other bytes by value and kept as they are (a path need
// not be valid text); the picker lists pictures whatever the case of the name.
TEST_F(GifListTest, OkWritesTheEditedListSortedWithDuplicatesAndFullPaths) {
    std::string before, after;
    for (const char* name : {"b.gif", "C.GIF", "a.gif", "B.gif", "b.gif", "_x.gif", "\xe9t\xe9.gif"})
        before += pictures / name + "\n";
    for (const char* name : {"_x.gif", "b.gif", "B.gif", "b.gif", "C.GIF", "moon.gif", "moon.gif", "\xe9t\xe9.gif"})
        after += pictures / name + "\r\n";
    WriteFile(ListFile(), before);
    for (const char* name : {"moon.gif", "UPPER.GIF", "other.png", "notes.txt"})
        Picture(name);
    RunGifBackgrounds([&](QWidget* w) {
        WhenModalOpens([&](QWidget* picker) {
            auto* files = static_cast<QFileDialog*>(picker);
            EXPECT_EQ(files->directory().absolutePath().toStdString(), windows / "system");
            files->setDirectory(QString::fromStdString(pictures.path()));
            const QTreeView* view = files->findChild<QTreeView*>();
            EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(view) == "UPPER.GIF moon.gif other.png"; }, 5000))
                << Shown(view);
            files->reject();  // adds nothing
        });
        Click(w, IDC_BROWSE);
        Browse(w, Picture("moon.gif"));
        Browse(w, Picture("moon.gif"));
        Click(w, IDC_REMOVE);  // nothing selected: nothing goes
        RemoveItem(w, 1);      // a.gif
        Click(w, IDC_REMOVE);  // the selection went with its item
        // Long paths are elided in the middle; the whole path is the tooltip.
        // Entries the saver could not show say so, and are still written
        // back as they were.
        auto* list = qobject_cast<QListWidget*>(FindControl(w, IDC_GIFLIST));
        EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
        const QString missing = QString::fromStdString(pictures / "_x.gif");
        EXPECT_EQ(list->item(0)->text(), missing + " (cannot be shown: missing or unreadable)");
        EXPECT_EQ(list->item(0)->toolTip(), missing + "\ncannot be shown: missing or unreadable");
        const QString moon = QString::fromStdString(pictures / "moon.gif");
        EXPECT_EQ(list->findItems(moon, Qt::MatchExactly).size(), 2);
        EXPECT_EQ(list->findItems(moon, Qt::MatchExactly).value(0)->toolTip(), moon);
        Click(w, IDOK);
    });
    EXPECT_EQ(ReadFile(ListFile()), after);
}

// "Add Folder..." offers folders only; the chosen one becomes an entry.
TEST_F(GifListTest, AddFolderPutsTheChosenFolderInTheList) {
    std::filesystem::create_directory(pictures / "photos");
    RunGifBackgrounds([&](QWidget* w) {
        WhenModalOpens([&](QWidget* picker) {
            auto* folders = static_cast<QFileDialog*>(picker);
            EXPECT_EQ(folders->fileMode(), QFileDialog::Directory);
            folders->setDirectory(QString::fromStdString(pictures.path()));
            folders->selectFile(QStringLiteral("photos"));
            static_cast<QDialog*>(folders)->accept();  // as its Choose button does
        });
        Click(w, IDC_ADDFOLDER);
        Click(w, IDOK);
    });
    EXPECT_EQ(ReadFile(ListFile()), pictures / "photos" + "\r\n");
}

TEST_F(GifListTest, CancelEscapeAndCloseLeaveTheFileByteForByte) {
    const std::string before = "/p/z.gif\n\n/p/y.gif\r\n   \nno line end";
    WriteFile(ListFile(), before);
    const std::string extra = Picture("extra.gif");
    for (auto close : {+[](QWidget* w) { Click(w, IDCANCEL); }, +[](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); },
                       +[](QWidget* w) { w->close(); }}) {
        RunGifBackgrounds([&](QWidget* w) {
            Browse(w, extra);
            RemoveItem(w, 0);
            close(w);
        });
        EXPECT_EQ(ReadFile(ListFile()), before);
    }
}

// A folder where the list file belongs cannot be replaced, even by a user
// who may write anywhere.
TEST_F(GifListTest, AFailedWriteTellsTheUserAndKeepsWhatWasThere) {
    WriteFile(ListFile() + "/keep", "x");
    MessageBoxLog log;
    RunGifBackgrounds([&](QWidget* w) {
        Browse(w, Picture("a.gif"));
        Click(w, IDOK);
    });
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_NE(log.boxes[0].text.find("picture list could not be saved"), std::string::npos) << log.boxes[0].text;
    EXPECT_NE(log.boxes[0].text.find(ListFile()), std::string::npos) << log.boxes[0].text;
    EXPECT_EQ(log.boxes[0].type, unsigned(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadFile(ListFile() + "/keep"), "x");

    // Once the file can be written, OK writes even an empty list, silently.
    std::filesystem::remove_all(ListFile());
    RunGifBackgrounds([](QWidget* w) { Click(w, IDOK); });
    EXPECT_EQ(log.boxes.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(ListFile()));
    EXPECT_EQ(ReadFile(ListFile()), "");
}
