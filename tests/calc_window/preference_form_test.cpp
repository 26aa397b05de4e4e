// The preferences dialog driven through its controls: loading, storing,
// cancelling and the exclusions between the counting options.
#include "calc/preference_form.h"
#include "core/preferences.h"
#include "tests/testsupport/gui_application.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Each check box and the value it edits.
const struct BoxField
{
    int box;
    bool Preferences::*field;
} BoxFields[] = {
    {1, &Preferences::UseBlockTime},  {2, &Preferences::E_IncGround},
    {3, &Preferences::P_IncGround},   {4, &Preferences::UseIME},
    {5, &Preferences::AutoBlockTime}, {6, &Preferences::GliderAdd1},
    {7, &Preferences::GliderAdd2},    {8, &Preferences::RussianSys},
    {9, &Preferences::OldPattern},    {10, &Preferences::UseCapsLock},
};

QString describe(const Preferences& p)
{
    QString flags;
    for (const auto& bf : BoxFields)
        flags += p.*(bf.field) ? QStringLiteral(" %1").arg(bf.box) : QString();
    return QStringLiteral("boxes[%1] offset=%2 home=%3 rate=%4")
        .arg(flags, p.AutoOffsetTime, p.Home)
        .arg(p.RussianValue);
}

// Every value away from its default, without conflicting options.
Preferences everythingSet()
{
    Preferences p;
    p.UseBlockTime = p.E_IncGround = p.P_IncGround = p.GliderAdd1 = true;
    p.UseIME = p.AutoBlockTime = p.OldPattern = p.UseCapsLock = true;
    p.AutoOffsetTime = QStringLiteral("00:12");
    p.Home = QStringLiteral("竜ヶ崎");
    p.RussianValue = 35;
    return p;
}

class PreferenceFormTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        form_ = std::make_unique<TPreferenceForm>();
        form_->setPreferences(&values_);
    }

    TPreferenceForm& form() { return *form_; }

    template <typename T> T* control(const QString& name)
    {
        auto* widget = form_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QCheckBox* box(int n) { return control<QCheckBox>(QStringLiteral("CheckBox%1").arg(n)); }
    QSpinBox* spin(int n) { return control<QSpinBox>(QStringLiteral("SpinEdit%1").arg(n)); }
    QPushButton* button(int n) { return control<QPushButton>(QStringLiteral("Button%1").arg(n)); }

    // A showing as the main window opens it; the previous one is closed
    // first so the dialog is really shown again.
    void open()
    {
        form_->hide();
        form_->show();
    }

    // Check box states set without running the exclusions, as leftovers of
    // an earlier showing or a starting point for one click.
    void forceBoxes(const QList<int>& checked)
    {
        for (int n = 1; n <= 10; ++n) {
            const QSignalBlocker blocker(box(n));
            box(n)->setChecked(checked.contains(n));
        }
    }

    QList<int> checkedBoxes()
    {
        QList<int> checked;
        for (int n = 1; n <= 10; ++n)
            if (box(n)->isChecked())
                checked << n;
        return checked;
    }

    Preferences values_;
    std::unique_ptr<TPreferenceForm> form_;
};

const QList<int> AllBoxes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

QList<int> allBut(const QList<int>& excluded)
{
    QList<int> rest;
    for (int n : AllBoxes)
        if (!excluded.contains(n))
            rest << n;
    return rest;
}

// Each box alone, loaded from and stored into its own value.
TEST_F(PreferenceFormTest, EachBoxLoadsAndStoresItsOwnValue)
{
    for (const auto& bf : BoxFields) {
        SCOPED_TRACE(bf.box);
        values_ = Preferences{};
        values_.*(bf.field) = true;
        forceBoxes({});
        open();
        EXPECT_EQ(checkedBoxes(), QList<int>{bf.box});

        values_ = Preferences{};
        forceBoxes({});
        open();
        box(bf.box)->click();
        button(1)->click();
        Preferences expected;
        expected.*(bf.field) = true;
        EXPECT_EQ(describe(values_), describe(expected));
    }
}

TEST_F(PreferenceFormTest, CheckingABoxClearsItsConflictingOptions)
{
    const struct
    {
        int box;
        QList<int> cleared;
    } cases[] = {
        {1, {}},     {2, {7}},          {3, {7}},    {4, {}}, {5, {}},
        {6, {7, 8}}, {7, {2, 3, 6, 8}}, {8, {6, 7}}, {9, {}}, {10, {}},
    };
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        forceBoxes(allBut({c.box}));
        box(c.box)->click();
        EXPECT_EQ(checkedBoxes(), allBut(c.cleared));
    }
}

TEST_F(PreferenceFormTest, ClearingABoxClearsNothingElse)
{
    open();
    for (int n : AllBoxes) {
        SCOPED_TRACE(n);
        forceBoxes(AllBoxes);
        box(n)->click();
        EXPECT_EQ(checkedBoxes(), allBut({n}));
    }
}

// Conflicting values from a hand-edited settings file: the option loaded
// later wins, whatever the boxes held from an earlier showing.
TEST_F(PreferenceFormTest, ConflictingStoredOptionsAreResolvedInLoadingOrder)
{
    const struct
    {
        QList<int> stored;
        QList<int> shown;
    } cases[] = {
        {{2, 7}, {7}},    {{6, 8}, {8}},    {{3, 7}, {7}},
        {{6, 7}, {7}},    {{7, 8}, {8}},    {{2, 3, 6, 7, 8}, {8}},
        {{2, 8}, {2, 8}}, {{2, 6}, {2, 6}}, {{2, 3, 6}, {2, 3, 6}},
    };
    for (const auto& c : cases) {
        for (const QList<int>& leftover : {QList<int>{}, AllBoxes, c.stored}) {
            SCOPED_TRACE(describe(values_).toStdString());
            values_ = Preferences{};
            for (const auto& bf : BoxFields)
                values_.*(bf.field) = c.stored.contains(bf.box);
            SCOPED_TRACE(describe(values_).toStdString());
            forceBoxes(leftover);
            open();
            EXPECT_EQ(checkedBoxes(), c.shown) << "leftover " << leftover.size();
        }
    }
}

TEST_F(PreferenceFormTest, SetStoresTheResolvedOptionsAndCancelKeepsTheStoredOnes)
{
    const struct
    {
        const char* how;
        std::function<void(PreferenceFormTest&)> close;
        QDialog::DialogCode result;
        bool engineIncludesGround;
    } cases[] = {
        {"設定", [](PreferenceFormTest& t) { t.button(1)->click(); }, QDialog::Accepted, false},
        {"ｷｬﾝｾﾙ", [](PreferenceFormTest& t) { t.button(2)->click(); }, QDialog::Rejected, true},
        {"Esc", [](PreferenceFormTest& t) { QTest::keyClick(&t.form(), Qt::Key_Escape); },
         QDialog::Rejected, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        values_ = Preferences{};
        values_.E_IncGround = values_.GliderAdd2 = true;
        open();
        c.close(*this);
        EXPECT_FALSE(form().isVisible());
        EXPECT_EQ(form().result(), c.result);
        EXPECT_EQ(values_.E_IncGround, c.engineIncludesGround);
        EXPECT_TRUE(values_.GliderAdd2);
    }
}

TEST_F(PreferenceFormTest, AllValuesSurviveAShowingClosedWithSet)
{
    for (const Preferences& start : {Preferences{}, everythingSet()}) {
        values_ = start;
        open();
        button(1)->click();
        EXPECT_EQ(describe(values_), describe(start));
    }
}

TEST_F(PreferenceFormTest, CancelledChangesLeaveTheValuesAndAreNotShownAgain)
{
    const Preferences start = everythingSet();
    values_ = start;
    open();
    for (int n : AllBoxes)
        box(n)->click();
    spin(1)->setValue(40);
    spin(2)->setValue(90);
    control<QLineEdit>(QStringLiteral("Edit1"))->setText(QStringLiteral("RJTT"));
    button(2)->click();
    EXPECT_EQ(describe(values_), describe(start));

    open();
    EXPECT_EQ(spin(1)->value(), 12);
    EXPECT_TRUE(spin(1)->isEnabled());
    EXPECT_EQ(spin(2)->value(), 35);
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Edit1"))->text(), start.Home);
    button(1)->click();
    EXPECT_EQ(describe(values_), describe(start));
}

TEST_F(PreferenceFormTest, OffsetTextIsShownAsMinutesAndStoredWithZeroHours)
{
    const struct
    {
        const char* stored;
        int shown;
        const char* storedBack;
    } cases[] = {
        {"00:05", 5, "00:05"},
        {"0:07", 7, "00:07"},
        {"01:30", 30, "00:30"},
        {"00:00", 0, "00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        values_.AutoOffsetTime = QString::fromUtf8(c.stored);
        open();
        EXPECT_EQ(spin(1)->value(), c.shown);
        button(1)->click();
        EXPECT_EQ(values_.AutoOffsetTime, QString::fromUtf8(c.storedBack));
    }
}

TEST_F(PreferenceFormTest, OffsetIsEditableOnlyWithAutomaticStartStopButAlwaysKept)
{
    values_.AutoOffsetTime = QStringLiteral("00:12");
    for (bool automatic : {false, true}) {
        values_.AutoBlockTime = automatic;
        open();
        EXPECT_EQ(spin(1)->isEnabled(), automatic);
        box(5)->click();
        EXPECT_EQ(spin(1)->isEnabled(), !automatic);
        EXPECT_EQ(spin(1)->value(), 12);
    }
    // Left with the box cleared: the offset is still stored.
    ASSERT_FALSE(box(5)->isChecked());
    EXPECT_FALSE(spin(1)->isEnabled());
    button(1)->click();
    EXPECT_FALSE(values_.AutoBlockTime);
    EXPECT_EQ(values_.AutoOffsetTime, QStringLiteral("00:12"));
}

TEST_F(PreferenceFormTest, TypedSpinTextOutsideTheRangeIsBroughtToALimit)
{
    const struct
    {
        int spinEdit;
        const char* typed;
        int value;
    } cases[] = {
        {2, "", 0}, {2, "-", 0}, {2, "150", 100}, {2, "42", 42}, {1, "", 0}, {1, "75", 59},
    };
    values_.AutoBlockTime = true;
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QSpinBox* s = spin(c.spinEdit);
        s->setValue(7);
        auto* text = s->findChild<QLineEdit*>();
        ASSERT_NE(text, nullptr);
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        QTest::keyClicks(text, QString::fromUtf8(c.typed));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(s, &leave);
        EXPECT_EQ(s->value(), c.value);
    }
}

} // namespace
