// The configuration dialog: its timer fields, its pickers, the About boxes,
// and the configuration run that stores what it edits.
#include "DialogTestSupport.h"

#include "TempDir.h"
#include "app/SaverApp.h"
#include "config/ConfigDlg.h"
#include "platform/Profile.h"
#include "platform/dialogs/FontPicker.h"
#include "res/resource.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QListView>
#include <QTest>

#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <tuple>

using namespace dialog_testing;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class ConfigTest : public DialogTest {
protected:
    void SetUp() override {
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("/opt/savers/quorl.scr");
        dlg.m_strFontName = "Courier New";
        dlg.m_nFontSize = 25;
        dlg.m_clrFont = 16776960;
        dlg.m_nDelay = 5;
        dlg.m_nGIFDelay = 15;
    }
    std::string StoreFile() const { return home / "Zovex Screen Savers/quorl.conf"; }
    // The configuration run from store `before` ("": none); the store after.
    std::string Run(const std::string& before, std::function<void(QWidget*)> step) {
        std::filesystem::remove(StoreFile());
        if (!before.empty())
            WriteFile(StoreFile(), before);
        WhenModalOpens(std::move(step));
        CSaverApp().RunConfiguration();
        return ReadFile(StoreFile());
    }
    static bool Has(const std::string& store, const std::string& line) {
        return store.find("\n" + line + "\n") != std::string::npos;
    }

    TempDir home;
    testing_support::ScopedEnv configHome{"XDG_CONFIG_HOME", home.path()};
    CConfigDlg dlg;
};

}  // namespace

// Heights truncate toward zero and never overflow; whole points truncate; a
// face name is cut to 31 bytes without splitting a character.
TEST(FontConversions, HeightsPointsAndFaceNames) {
    EXPECT_EQ(FontHeightFromPoints(25, 96), -33);
    EXPECT_EQ(FontHeightFromPoints(25, 120), -41);
    EXPECT_EQ(FontHeightFromPoints(INT_MAX, 96), INT32_MIN);
    EXPECT_EQ(PointsFromHeight(-41, 120), 25);
    EXPECT_EQ(TenthsFromPoints(10.5) / 10, 10);
    LOGFONT lf;
    SetFaceName(lf, std::string(30, 'a') + "\xc3\xa9");
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(30, 'a'));
}

QComboBox* ColorBox(QFontDialog* picker) { return picker->findChild<QComboBox*>(QStringLiteral("colorBox")); }

// The families fontconfig lists, each by its first name.
QStringList InstalledFamilies() {
    QStringList families;
    if (FILE* pipe = ::popen("fc-list : family", "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, pipe))
            families << QString::fromUtf8(line).section(QLatin1Char(','), 0, 0).trimmed();
        ::pclose(pipe);
    }
    families.removeDuplicates();
    return families;
}

// The picker's list that shows `family`, as text rows.
QStringList ListShowing(QFontDialog* picker, const QString& family) {
    for (QListView* list : picker->findChildren<QListView*>()) {
        QStringList rows;
        for (int row = 0; list->model() && row < list->model()->rowCount(); ++row)
            rows << list->model()->index(row, 0).data().toString();
        if (rows.contains(family))
            return rows;
    }
    return {};
}

// The picker starts on the settings; Cancel changes nothing; OK keeps face,
// whole points and colour, even an alias and a colour none of the sixteen.
TEST_F(ConfigTest, FontPickerConvertsTheSettingsBothWays) {
    WhenModalOpens([&](QWidget* w) {
        const auto pick = [w](std::function<void(QFontDialog*)> inPicker) {
            WhenModalOpens([=](QWidget* picker) {
                inPicker(static_cast<QFontDialog*>(picker));
                if (picker->isVisible())
                    static_cast<QDialog*>(picker)->reject();
            });
            Click(w, IDC_FONT);
        };
        pick([](QFontDialog* picker) {
            // "Courier New" is an alias here; the picker shows what it resolves to.
            EXPECT_EQ(picker->currentFont().family(), QFontInfo(QFont("Courier New")).family());
            EXPECT_EQ(picker->currentFont().pointSize(), 25);
            ASSERT_NE(ColorBox(picker), nullptr);
            EXPECT_EQ(ColorBox(picker)->currentText(), QStringLiteral("Aqua"));
            // Every installed family is offered, whatever its script.
            const QStringList installed = InstalledFamilies();
            EXPECT_TRUE(installed.contains(QStringLiteral("Noto Sans CJK JP")));
            const QStringList offered = ListShowing(picker, QStringLiteral("DejaVu Sans"));
            for (const QString& family : installed)
                EXPECT_TRUE(offered.contains(family)) << family.toStdString();
            picker->setCurrentFont(QFont("DejaVu Serif", 12));  // then Cancel
        });
        EXPECT_EQ(dlg.m_strFontName, "Courier New");
        EXPECT_EQ(dlg.m_nFontSize, 25);
        dlg.m_clrFont = 0x00123456;
        pick([](QFontDialog* picker) {
            EXPECT_EQ(ColorBox(picker)->currentText(), QStringLiteral("Custom"));
            picker->accept();
        });
        EXPECT_EQ(dlg.m_strFontName, "Courier New");
        EXPECT_EQ(dlg.m_nFontSize, 25);
        EXPECT_EQ(dlg.m_clrFont, 0x00123456u);
        pick([](QFontDialog* picker) {
            picker->setCurrentFont(QFont("DejaVu Serif", 12));
            ColorBox(picker)->setCurrentIndex(ColorBox(picker)->findText(QStringLiteral("Red")));
            picker->accept();
        });
        Click(w, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_strFontName, "DejaVu Serif");
    EXPECT_EQ(dlg.m_nFontSize, 12);
    EXPECT_EQ(dlg.m_clrFont, RGB(255, 0, 0));
}

TEST_F(ConfigTest, AboutThenMoreStuffThenCloseReturnsWithEditsIntact) {
    testing_support::ScopedEnv dataHome("XDG_DATA_HOME", "");
    bool aboutStayedOpen = false;
    WhenModalOpens([&](QWidget* config) {
        Edit(config, IDC_DELAY)->setText(QStringLiteral("42"));
        WhenModalOpens([&](QWidget* about) {
            EXPECT_EQ(about->windowTitle(), QStringLiteral("About Quorl Screen Saver"));
            WhenModalOpens([&](QWidget* more) {
                EXPECT_EQ(more->windowTitle(), QStringLiteral("More Stuff..."));
                // On Linux it names the real folder, as the user would type it.
                const QString text = static_cast<QLabel*>(FindControl(more, IDC_LINEFILES))->text();
                EXPECT_TRUE(text.contains(QStringLiteral("MUST reside in your folder ~/.local/share/quorl/system.")))
                    << text.toStdString();
                QTest::keyClick(more, Qt::Key_Escape);
            });
            Click(about, IDC_SETUPINFO);
            aboutStayedOpen = about->isVisible();
            about->close();  // the title bar's close button
        });
        Click(config, IDC_ABOUT);
        EXPECT_EQ(Edit(config, IDC_DELAY)->text(), QStringLiteral("42"));
        Click(config, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(aboutStayedOpen);
    EXPECT_EQ(dlg.m_nDelay, 42);
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));  // these dialogs write nothing
}

// The configuration run: what the store holds after OK or Cancel. A refused
// OK keeps the dialog open on the first bad field, its text selected, and
// changes neither setting, since Cancel stores them too.
TEST_F(ConfigTest, RunChecksTheTimerFieldsAndWritesAllSevenSettingsBack) {
    struct Case {
        const char* before;
        const char* shown;  // the verse timer field at first
        const char* delay;  // typed into the fields unless null
        const char* gifDelay;
        const char* prompt;  // null: accepted
        int badField;
        std::vector<std::string> lines;
    };
    const std::string cut = "2" + std::string(30, ' ') + "x";  // only the first 31 characters count
    const char* const allSeven = "[quorl]\nFillColor=00000000\nBackColor=00000000\nDelay=9\n";
    const Case cases[] = {
        {allSeven, "9", nullptr, nullptr, nullptr, 0,
         {"FontName=Courier New", "FontSize=25", "FontColor=16776960", "FillColor=0", "BackColor=0", "Delay=9",
          "GIFDelay=15"}},
        {"", "5", "0", "60", nullptr, 0, {"Delay=0", "GIFDelay=60"}},
        {"", "5", "7", cut.c_str(), nullptr, 0, {"Delay=7", "GIFDelay=2"}},
        {"", "5", "30", "0", "Please enter an integer between 1 and 60.", IDC_GIFDELAY, {"Delay=5", "GIFDelay=15"}},
        {"", "5", "61", "0", "Please enter an integer between 0 and 60.", IDC_DELAY, {"Delay=5", "GIFDelay=15"}},
        {"", "5", "99999999999", "5", "Please enter an integer between 0 and 60.", IDC_DELAY, {"Delay=5"}},
        {"", "5", "", "abc", "Please enter an integer.", IDC_DELAY, {"Delay=5"}},
        {"[quorl]\nDelay=100\n", "100", nullptr, nullptr, "Please enter an integer between 0 and 60.", IDC_DELAY,
         {"Delay=100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + "|" + (c.delay ? c.delay : "-") + "|" + (c.gifDelay ? c.gifDelay : "-"));
        MessageBoxLog log;
        const std::string store = Run(c.before, [&](QWidget* w) {
            EXPECT_EQ(Edit(w, IDC_DELAY)->text().toStdString(), c.shown);
            if (c.delay) {
                Edit(w, IDC_DELAY)->setText(QString::fromLatin1(c.delay));
                Edit(w, IDC_GIFDELAY)->setText(QString::fromLatin1(c.gifDelay));
            }
            Click(w, IDOK);
            if (!w->isVisible())
                return;
            auto* focused = qobject_cast<QLineEdit*>(w->focusWidget());
            EXPECT_EQ(ControlId(focused), c.badField);
            EXPECT_TRUE(focused && focused->selectedText() == focused->text());
            Click(w, IDCANCEL);
        });
        for (const std::string& line : c.lines)
            EXPECT_TRUE(Has(store, line)) << line << " in\n" << store;
        ASSERT_EQ(log.boxes.size(), c.prompt ? 1u : 0u);
        if (c.prompt) {
            EXPECT_EQ(log.boxes[0].text, c.prompt);
        }
    }
}

// A store that cannot be written (a folder or a named pipe in its place) is
// told with its path and fails the run; what is there stays.
TEST_F(ConfigTest, AStoreThatCannotBeWrittenIsToldAndFailsTheRun) {
    for (const auto make : {+[](const char* path) { return ::mkdir(path, 0700); },
                            +[](const char* path) { return ::mkfifo(path, 0600); }}) {
        std::filesystem::create_directories(home / "Zovex Screen Savers");
        ASSERT_EQ(make(StoreFile().c_str()), 0);
        MessageBoxLog log;
        CSaverApp app;
        WhenModalOpens([](QWidget* w) { Click(w, IDOK); });
        ::alarm(30);  // a store that blocks its reader ends the test instead of hanging it
        app.RunConfiguration();
        ::alarm(0);
        EXPECT_EQ(app.m_nExitCode, 1);
        ASSERT_EQ(log.boxes.size(), 1u);
        EXPECT_NE(log.boxes[0].text.find("\"" + StoreFile() + "\""), std::string::npos) << log.boxes[0].text;
        EXPECT_FALSE(std::filesystem::is_regular_file(StoreFile()));
        std::filesystem::remove(StoreFile());
    }
}

// Each colour picker, titled by what it sets, starts on its own colour;
// Cancel keeps what they picked, stored as BBGGRR, but not a typed delay.
TEST_F(ConfigTest, CancelStoresPickedColoursButNotTypedDelays) {
    const std::string store = Run("[quorl]\nFillColor=1971210\n", [](QWidget* w) {
        Edit(w, IDC_DELAY)->setText(QStringLiteral("33"));
        EXPECT_FALSE(w->windowIcon().isNull());
        for (const auto& [button, title, shown, picked] :
             {std::tuple{IDC_FILLCOLOR, "Fill Color", QColor(10, 20, 30), QColor(1, 2, 3)},
              {IDC_BACKCOLOR, "Background Color", QColor(0, 0, 0), QColor(0, 0, 255)}}) {
            WhenModalOpens([=](QWidget* picker) {
                auto* colors = static_cast<QColorDialog*>(picker);
                EXPECT_EQ(colors->windowTitle(), QString::fromLatin1(title));
                EXPECT_EQ(colors->currentColor(), shown);
                colors->setCurrentColor(picked);
                colors->accept();
            });
            Click(w, button);
        }
        Click(w, IDCANCEL);
    });
    for (const char* line : {"FillColor=197121", "BackColor=16711680", "Delay=5"})
        EXPECT_TRUE(Has(store, line)) << line << " in\n" << store;
}
