// The dialog frame: dialog units, the integer text rule, list box order,
// filters and the tab order of every template.
#include "DialogTestSupport.h"

#include "platform/dialogs/DataExchange.h"
#include "platform/dialogs/DialogTemplate.h"
#include "platform/dialogs/DialogUnits.h"
#include "platform/dialogs/ListBox.h"
#include "res/resource.h"

#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <climits>

using namespace dialog_testing;

TEST(DialogUnits, MulDivRoundsHalfAwayFromZeroAndRefusesZeroDivisor) {
    EXPECT_EQ(MulDiv(171, 6, 4), 257);  // 256.5
    EXPECT_EQ(MulDiv(7, 6, 4), 11);     // 10.5
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, -1, 2), -2);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);  // the dialog font's em at 96 dpi
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 4, 2), -1);  // does not fit
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
}

TEST(DialogUnits, RectanglesScaleByQuarterWidthAndEighthHeight) {
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(MapDialogRect(units, 171, 59, 36, 13), QRect(257, 96, 54, 21));
    EXPECT_EQ(MapDialogRect(units, 0, 0, 214, 97), QRect(0, 0, 321, 158));
}

class DialogFont : public DialogTest {};

TEST_F(DialogFont, MsSansSerifEightPointResolvesToASansFaceWithWindowsBaseUnits) {
    const QFont font = MakeDialogFont("MS Sans Serif", 8, 96);
    EXPECT_EQ(font.pixelSize(), 11);
    const QString family = QFontInfo(font).family();
    // fontconfig's sans-serif face on this system.
    EXPECT_EQ(family, QStringLiteral("DejaVu Sans"));
    // DejaVu Sans: usWinAscent 1901, usWinDescent 483 of 2048 units, so a
    // cell of round(10.21) + round(2.59) = 13 pixels at an em of 11.
    const DialogBaseUnits units = BaseUnitsOf(font);
    EXPECT_EQ(units.cy, 13);
    EXPECT_EQ(units.cx, 7);
}

TEST(IntegerText, AcceptsSignedDecimalsWithBlanksAround) {
    const std::pair<const char*, int> accepted[] = {
        {"0", 0},          {"60", 60},   {" \t42\t ", 42}, {"+7", 7},
        {"-5", -5},        {"007", 7},   {"0000", 0},      {"  0  ", 0},
        {"99999999999", INT_MAX},        {"-99999999999", INT_MIN},
    };
    for (const auto& [text, expected] : accepted) {
        int value = 12345;
        EXPECT_TRUE(ParseDialogInteger(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, expected) << '"' << text << '"';
    }
}

TEST(IntegerText, RefusesEverythingElseAndLeavesTheValue) {
    const char* refused[] = {"", "   ", "-0", "+0", "-", "abc", "12abc", "1 2", "0x10", "- 5", "\n5", "5\n", "5.0"};
    for (const char* text : refused) {
        int value = 12345;
        EXPECT_FALSE(ParseDialogInteger(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, 12345);
    }
    int value = 0;
    EXPECT_TRUE(ParseDialogInteger(std::string("12\0junk", 7), value));  // a C string ends at NUL
    EXPECT_EQ(value, 12);
}

TEST(IntegerText, RangePromptNamesTheBounds) {
    EXPECT_EQ(FormatRangePrompt(0, 60), "Please enter an integer between 0 and 60.");
    EXPECT_EQ(FormatRangePrompt(1, 60), "Please enter an integer between 1 and 60.");
    EXPECT_STREQ(kPromptInteger, "Please enter an integer.");
}

class ListBoxTest : public DialogTest {
protected:
    void SetUp() override { CListBox::MarkSorted(&widget, true); }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < box.GetCount(); ++i)
            items.push_back(box.GetText(i));
        return items;
    }
    QListWidget widget;
    CListBox box{&widget};
};

TEST_F(ListBoxTest, SortedBoxOrdersWithoutCaseAndKeepsDuplicatesAndBytes) {
    const std::string latin1("/p/\xe9t\xe9.gif");  // not valid UTF-8
    for (const std::string& s : {std::string("/p/b.gif"), std::string("/p/C.GIF"), std::string("/p/a.gif"),
                                 std::string("/p/B.gif"), std::string("/p/b.gif"), std::string("/p/_x.gif"), latin1})
        box.AddString(s);
    EXPECT_EQ(Items(), (std::vector<std::string>{"/p/_x.gif", "/p/a.gif", "/p/b.gif", "/p/B.gif", "/p/b.gif",
                                                 "/p/C.GIF", latin1}));
}

TEST_F(ListBoxTest, DeletingNeedsAValidIndexAndTakesTheSelectionAlong) {
    box.AddString("a");
    box.AddString("b");
    box.AddString("c");
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
    EXPECT_EQ(box.DeleteString(box.GetCurSel()), LB_ERR);
    EXPECT_EQ(box.DeleteString(3), LB_ERR);
    EXPECT_EQ(box.GetCount(), 3);
    box.SetCurSel(1);
    EXPECT_EQ(box.DeleteString(box.GetCurSel()), 2);
    EXPECT_EQ(Items(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(box.GetCurSel(), LB_ERR);

    CListBox none(nullptr);
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.AddString("x"), LB_ERR);
    EXPECT_EQ(none.GetCount(), 0);
}

// Opens template `id` in a plain dialog and runs `step` inside it; the
// step's window is closed with Escape afterwards.
void WithTemplate(int id, const std::function<void(QDialog*)>& step) {
    CDialog dlg(id);
    WhenModalOpens([&](QWidget* w) {
        step(static_cast<QDialog*>(w));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

class TemplateTest : public DialogTest {};

TEST_F(TemplateTest, TabVisitsTheTabStopsInTemplateOrderAndWraps) {
    const std::pair<int, std::vector<int>> orders[] = {
        {IDD_CONFIG, {IDOK, IDCANCEL, IDC_FONT, IDC_GIFBACKGROUNDS, IDC_DELAY, IDC_FILLCOLOR, IDC_ABOUT,
                      IDC_GIFDELAY, IDC_BACKCOLOR}},
        {IDD_ABOUTBOX, {IDC_SETUPINFO}},
        {IDD_MORESTUFF, {}},
        {IDD_GIFLIST, {IDOK, IDCANCEL, IDC_GIFLIST, IDC_BROWSE, IDC_REMOVE}},
    };
    for (const auto& [id, expected] : orders) {
        WithTemplate(id, [&, &expected = expected](QDialog* w) {
            std::vector<int> visited;
            for (std::size_t i = 0; i <= expected.size() && w->focusWidget(); ++i) {
                visited.push_back(ControlId(w->focusWidget()));
                QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            }
            std::vector<int> cycle = expected;
            if (!cycle.empty())
                cycle.push_back(cycle.front());
            EXPECT_EQ(visited, cycle) << "template " << id;
        });
    }
}

TEST_F(TemplateTest, EnterWithoutADefaultButtonSendsOk) {
    CDialog moreStuff(IDD_MORESTUFF);  // no buttons at all
    WhenModalOpens([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(moreStuff.DoModal(), IDOK);

    CDialog about(IDD_ABOUTBOX);  // the focused button is pressed instead
    bool pressed = false;
    WhenModalOpens([&](QWidget* w) {
        QObject::connect(static_cast<QPushButton*>(FindControl(w, IDC_SETUPINFO)), &QPushButton::clicked,
                         [&] { pressed = true; });
        QTest::keyClick(w->focusWidget(), Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(about.DoModal(), IDCANCEL);
    EXPECT_TRUE(pressed);
}

TEST_F(TemplateTest, WindowAndControlsArePlacedInDialogUnitsOfTheDialogFont) {
    WithTemplate(IDD_CONFIG, [](QDialog* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorl Configuration"));
        EXPECT_EQ(w->font().pixelSize(), MulDiv(8, ScreenLogPixelsY(), 72));
        const DialogBaseUnits units = BaseUnitsOf(w->font());
        EXPECT_EQ(w->size(), MapDialogRect(units, 0, 0, 214, 97).size());
        EXPECT_EQ(FindControl(w, IDOK)->geometry(), MapDialogRect(units, 171, 59, 36, 13));
        EXPECT_EQ(FindControl(w, IDC_BACKCOLOR)->geometry(), MapDialogRect(units, 7, 41, 66, 12));
        EXPECT_TRUE(static_cast<QPushButton*>(FindControl(w, IDOK))->isDefault());
        // The icon is the program's own, at the platform's icon size.
        for (QLabel* label : w->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                EXPECT_EQ(label->size(), QSize(32, 32));
                EXPECT_EQ(label->pos(), MapDialogRect(units, 103, 70, 21, 20).topLeft());
            }
        }
    });
}

TEST_F(TemplateTest, GroupBoxListedLastLiesBelowTheListItFrames) {
    WithTemplate(IDD_GIFLIST, [](QDialog* w) {
        QWidget* list = FindControl(w, IDC_GIFLIST);
        const QPoint inside = list->geometry().center();
        QWidget* hit = w->childAt(inside);
        while (hit && hit->parentWidget() != w)
            hit = hit->parentWidget();
        EXPECT_EQ(hit, list);
    });
}

TEST_F(TemplateTest, NumberFieldsRefuseTypedNonDigits) {
    WithTemplate(IDD_CONFIG, [](QDialog* w) {
        QLineEdit* edit = Edit(w, IDC_DELAY);
        edit->clear();
        QTest::keyClicks(edit, "4a-2 ");
        EXPECT_EQ(edit->text(), QStringLiteral("42"));
    });
}
