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
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <filesystem>

using namespace dialog_testing;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class ConfigTest : public DialogTest {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(home.path()));
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("/opt/savers/quorl.scr");
        dlg.m_strFontName = "Courier New";
        dlg.m_nFontSize = 25;
        dlg.m_clrFont = 16776960;
        dlg.m_nDelay = 5;
        dlg.m_nGIFDelay = 15;
    }
    std::string StoreFile() const { return home / "Zovex Screen Savers/quorl.conf"; }

    // Types into both timer fields and presses OK; returns the messages.
    std::vector<MessageBoxLog::Box> PressOkWith(const char* delay, const char* gifDelay) {
        MessageBoxLog log;
        WhenModalOpens([&](QWidget* w) {
            Edit(w, IDC_DELAY)->setText(QString::fromLatin1(delay));
            Edit(w, IDC_GIFDELAY)->setText(QString::fromLatin1(gifDelay));
            Click(w, IDOK);
            if (w->isVisible()) {
                refusedFocus = ControlId(w->focusWidget());
                auto* edit = qobject_cast<QLineEdit*>(w->focusWidget());
                refusedAllSelected = edit && edit->selectedText() == edit->text();
                Click(w, IDCANCEL);
            }
        });
        result = dlg.DoModal();
        return log.boxes;
    }

    TempDir home;
    CConfigDlg dlg;
    int result = 0;
    int refusedFocus = 0;
    bool refusedAllSelected = false;
};

}  // namespace

TEST_F(ConfigTest, FieldsShowTheLoadedValuesEvenOutOfRange) {
    dlg.m_nDelay = 100;
    dlg.m_nGIFDelay = -3;
    WhenModalOpens([](QWidget* w) {
        EXPECT_EQ(Edit(w, IDC_DELAY)->text(), QStringLiteral("100"));
        EXPECT_EQ(Edit(w, IDC_GIFDELAY)->text(), QStringLiteral("-3"));
        Click(w, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(ConfigTest, OkAcceptsValuesInRange) {
    EXPECT_TRUE(PressOkWith("0", "60").empty());
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nDelay, 0);
    EXPECT_EQ(dlg.m_nGIFDelay, 60);

    EXPECT_TRUE(PressOkWith(" 60\t", "1").empty());
    EXPECT_EQ(dlg.m_nDelay, 60);
    EXPECT_EQ(dlg.m_nGIFDelay, 1);

    // Only the first 31 characters count.
    EXPECT_TRUE(PressOkWith("7", ("2" + std::string(30, ' ') + "x").c_str()).empty());
    EXPECT_EQ(dlg.m_nGIFDelay, 2);
}

TEST_F(ConfigTest, OutOfRangeGivesTheRangePromptWithThatFieldsBounds) {
    auto boxes = PressOkWith("5", "0");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer between 1 and 60.");
    EXPECT_EQ(boxes[0].caption, "quorl");
    EXPECT_EQ(boxes[0].type, unsigned(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(refusedFocus, IDC_GIFDELAY);
    EXPECT_TRUE(refusedAllSelected);

    boxes = PressOkWith("61", "0");  // both wrong: only the first is reported
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer between 0 and 60.");
    EXPECT_EQ(refusedFocus, IDC_DELAY);
    EXPECT_TRUE(refusedAllSelected);

    boxes = PressOkWith("99999999999", "5");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please enter an integer between 0 and 60.");
}

TEST_F(ConfigTest, TextThatIsNoIntegerGivesTheIntegerPrompt) {
    for (const char* text : {"", "-0", "1x"}) {
        auto boxes = PressOkWith(text, "abc");
        ASSERT_EQ(boxes.size(), 1u) << text;
        EXPECT_EQ(boxes[0].text, "Please enter an integer.");
        EXPECT_EQ(refusedFocus, IDC_DELAY);
    }
}

TEST_F(ConfigTest, RefusedOkLeavesTheMembersAsLoaded) {
    // The first field passes, the second does not: neither value may stick,
    // since the run stores the members after Cancel too.
    PressOkWith("30", "0");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_nDelay, 5);
    EXPECT_EQ(dlg.m_nGIFDelay, 15);
}

TEST_F(ConfigTest, FontButtonWithoutAWindowDoesNothing) {
    dlg.OnFont();
    EXPECT_EQ(dlg.m_strFontName, "Courier New");
    EXPECT_EQ(dlg.m_nFontSize, 25);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FontHeight, PointsTimesResolutionOverMinus72Truncated) {
    EXPECT_EQ(FontHeightFromPoints(25, 96), -33);
    EXPECT_EQ(FontHeightFromPoints(25, 120), -41);
    EXPECT_EQ(FontHeightFromPoints(0, 96), 0);
    EXPECT_EQ(FontHeightFromPoints(-10, 96), 13);
    EXPECT_EQ(FontHeightFromPoints(INT_MAX, 96), INT32_MIN);  // no overflow
    EXPECT_EQ(PointsFromHeight(-33, 96), 25);
    EXPECT_EQ(PointsFromHeight(-41, 120), 25);
    EXPECT_EQ(TenthsFromPoints(10.5) / 10, 10);  // whole points kept, truncated
    EXPECT_EQ(TenthsFromPoints(12.0), 120);
}

TEST(FontHeight, FaceNameIsCutToThirtyOneBytesWithoutSplittingACharacter) {
    LOGFONT lf;
    SetFaceName(lf, std::string(40, 'a'));
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'a'));
    SetFaceName(lf, std::string(30, 'a') + "\xc3\xa9");  // the é would straddle the end
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(30, 'a'));
}

// Clicks `button` of the configuration dialog and runs `inPicker` in the
// picker it opens, then closes the configuration dialog with Cancel.
template <class Picker>
void ThroughPicker(CConfigDlg& dlg, int button, std::function<void(Picker*)> inPicker) {
    WhenModalOpens([&](QWidget* w) {
        WhenModalOpens([&](QWidget* picker) {
            auto* typed = qobject_cast<Picker*>(picker);
            EXPECT_NE(typed, nullptr);
            if (typed)
                inPicker(typed);
            if (picker->isVisible())
                static_cast<QDialog*>(picker)->reject();
        });
        Click(w, button);
        Click(w, IDCANCEL);
    });
    dlg.DoModal();
}

TEST_F(ConfigTest, FontPickerStartsOnTheSettingsAndKeepsFaceWholePointsAndColour) {
    ThroughPicker<QFontDialog>(dlg, IDC_FONT, [](QFontDialog* picker) {
        // "Courier New" is an alias here; the picker shows what it resolves to.
        EXPECT_EQ(picker->currentFont().family(), QFontInfo(QFont("Courier New")).family());
        EXPECT_EQ(picker->currentFont().pointSize(), PointsFromHeight(FontHeightFromPoints(25, 96), 96));
        auto* colors = picker->findChild<QComboBox*>(QStringLiteral("colorBox"));
        ASSERT_NE(colors, nullptr);
        EXPECT_EQ(colors->currentText(), QStringLiteral("Aqua"));

        QFont chosen("DejaVu Serif", 12);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        picker->setCurrentFont(chosen);
        colors->setCurrentIndex(colors->findText(QStringLiteral("Red")));
        picker->accept();
    });
    EXPECT_EQ(dlg.m_strFontName, "DejaVu Serif");
    EXPECT_EQ(dlg.m_nFontSize, 12);
    EXPECT_EQ(dlg.m_clrFont, RGB(255, 0, 0));
}

TEST_F(ConfigTest, FontPickerCancelChangesNothingAndConfirmingTheAliasKeepsIt) {
    ThroughPicker<QFontDialog>(dlg, IDC_FONT, [](QFontDialog* picker) {
        picker->setCurrentFont(QFont("DejaVu Serif", 12));
        picker->reject();
    });
    EXPECT_EQ(dlg.m_strFontName, "Courier New");
    EXPECT_EQ(dlg.m_nFontSize, 25);
    EXPECT_EQ(dlg.m_clrFont, 16776960u);

    dlg.m_clrFont = 0x00123456;  // none of the sixteen: offered as it is
    ThroughPicker<QFontDialog>(dlg, IDC_FONT, [](QFontDialog* picker) {
        EXPECT_EQ(picker->findChild<QComboBox*>(QStringLiteral("colorBox"))->currentText(), QStringLiteral("Custom"));
        picker->accept();
    });
    EXPECT_EQ(dlg.m_strFontName, "Courier New");
    EXPECT_EQ(dlg.m_nFontSize, 25);
    EXPECT_EQ(dlg.m_clrFont, 0x00123456u);
}

TEST_F(ConfigTest, ColourButtonsPickFillAndBackgroundAsBbggrr) {
    dlg.m_clrFill = RGB(10, 20, 30);
    dlg.m_clrBack = RGB(40, 50, 60);
    ThroughPicker<QColorDialog>(dlg, IDC_FILLCOLOR, [](QColorDialog* picker) {
        EXPECT_EQ(picker->currentColor(), QColor(10, 20, 30));
        picker->setCurrentColor(QColor(1, 2, 3));
        picker->accept();
    });
    EXPECT_EQ(dlg.m_clrFill, 0x00030201u);
    EXPECT_EQ(dlg.m_clrBack, RGB(40, 50, 60));

    ThroughPicker<QColorDialog>(dlg, IDC_BACKCOLOR, [](QColorDialog* picker) {
        EXPECT_EQ(picker->currentColor(), QColor(40, 50, 60));
        picker->setCurrentColor(QColor(255, 0, 0));
        picker->reject();
    });
    EXPECT_EQ(dlg.m_clrBack, RGB(40, 50, 60));
    ThroughPicker<QColorDialog>(dlg, IDC_BACKCOLOR, [](QColorDialog* picker) {
        picker->setCurrentColor(QColor(0, 0, 255));
        picker->accept();
    });
    EXPECT_EQ(dlg.m_clrBack, 0x00FF0000u);
    EXPECT_EQ(dlg.m_clrFill, 0x00030201u);
}

// The texts of a dialog, top to bottom.
std::vector<std::string> Texts(const QWidget* w) {
    QList<QLabel*> labels = w->findChildren<QLabel*>();
    std::sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
    std::vector<std::string> texts;
    for (const QLabel* label : labels)
        if (!label->text().isEmpty())
            texts.push_back(label->text().toStdString());
    return texts;
}

TEST_F(ConfigTest, AboutThenMoreStuffThenCloseReturnsWithEditsIntact) {
    std::vector<std::string> aboutTexts, moreTexts;
    bool aboutStayedOpen = false;
    WhenModalOpens([&](QWidget* config) {
        Edit(config, IDC_DELAY)->setText(QStringLiteral("42"));
        WhenModalOpens([&](QWidget* about) {
            EXPECT_EQ(about->windowTitle(), QStringLiteral("About Quorl Screen Saver"));
            aboutTexts = Texts(about);
            WhenModalOpens([&](QWidget* more) {
                EXPECT_EQ(more->windowTitle(), QStringLiteral("More Stuff..."));
                moreTexts = Texts(more);
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
    EXPECT_EQ(dlg.m_strFontName, "Courier New");
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));  // these dialogs write nothing

    ASSERT_EQ(aboutTexts.size(), 2u);
    EXPECT_EQ(aboutTexts[0].substr(0, aboutTexts[0].find('\n')), "Quorl Screen Saver");
    EXPECT_EQ(std::count(aboutTexts[0].begin(), aboutTexts[0].end(), '\n'), 4);  // five lines
    EXPECT_NE(aboutTexts[0].find("Zovex"), std::string::npos);
    EXPECT_EQ(aboutTexts[1], "Quorl 1.4");
    ASSERT_EQ(moreTexts.size(), 3u);
    EXPECT_EQ(moreTexts[0],
              "You may add (or remove) lines in the files FIVES.TXT and SEVENS.TXT. These files MUST reside in your "
              "Windows\\System directory. The first file contains lines with five syllables; and the second, lines "
              "with seven syllables.");
    EXPECT_EQ(moreTexts[1],
              "It is of no concern to the program what is actually in the files. It just reads lines and displays "
              "them. Please, no more than 1000 lines per file.");
}

// The configuration run against a store in a temporary folder.
class RunTest : public ConfigTest {
protected:
    std::string Run(const std::function<void(QWidget*)>& step) {
        WhenModalOpens(step);
        CSaverApp app;
        app.RunConfiguration();
        return ReadFile(StoreFile());
    }
    static bool Has(const std::string& store, const std::string& line) {
        return store.find(line + "\n") != std::string::npos;
    }
};

TEST_F(RunTest, OkWithoutChangesWritesAllSevenAndRewritesBlackAsZero) {
    WriteFile(StoreFile(), "[quorl]\nFillColor=00000000\nBackColor=00000000\nDelay=9\n");
    const std::string store = Run([](QWidget* w) {
        EXPECT_EQ(Edit(w, IDC_DELAY)->text(), QStringLiteral("9"));
        Click(w, IDOK);
    });
    for (const char* line : {"FontName=Courier New", "FontSize=25", "FontColor=16776960", "FillColor=0",
                             "BackColor=0", "Delay=9", "GIFDelay=15"})
        EXPECT_TRUE(Has(store, line)) << line << " in\n" << store;
}

TEST_F(RunTest, CancelKeepsPickedColoursButNotTypedDelays) {
    const std::string store = Run([](QWidget* w) {
        Edit(w, IDC_DELAY)->setText(QStringLiteral("33"));
        WhenModalOpens([](QWidget* picker) {
            static_cast<QColorDialog*>(picker)->setCurrentColor(QColor(0, 0, 255));
            static_cast<QColorDialog*>(picker)->accept();
        });
        Click(w, IDC_FILLCOLOR);
        Click(w, IDCANCEL);
    });
    EXPECT_TRUE(Has(store, "FillColor=16711680")) << store;
    EXPECT_TRUE(Has(store, "Delay=5")) << store;
}

TEST_F(RunTest, StoredDelayOfHundredSurvivesCancelButOkRefusesIt) {
    WriteFile(StoreFile(), "[quorl]\nDelay=100\n");
    std::string store = Run([](QWidget* w) {
        EXPECT_EQ(Edit(w, IDC_DELAY)->text(), QStringLiteral("100"));
        Click(w, IDCANCEL);
    });
    EXPECT_TRUE(Has(store, "Delay=100")) << store;

    MessageBoxLog log;
    store = Run([](QWidget* w) {
        Click(w, IDOK);
        EXPECT_TRUE(w->isVisible());
        Click(w, IDCANCEL);
    });
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, "Please enter an integer between 0 and 60.");
    EXPECT_TRUE(Has(store, "Delay=100")) << store;
}
