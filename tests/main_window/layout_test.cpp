// The window as built, before any handler runs.

#include <QAccessible>
#include <QGuiApplication>
#include <QScreen>

#include "tests/main_window/form_driver.h"

namespace {

class BuiltForm : public ::testing::Test {
protected:
    RecordingLibrary library;
    MainForm form{library};
};

struct Placement {
    const char* name;
    QRect pixels;  // the layout's twips / 15
    const char* parent;
};

TEST_F(BuiltForm, PlacesEveryControlAtItsTwipPosition)
{
    const Placement placements[] = {
        {"Label2", {48, 8, 81, 17}, ""},       {"pin", {72, 24, 33, 19}, ""},
        {"Label1", {48, 56, 89, 17}, ""},      {"Combo1", {48, 72, 97, 21}, ""},
        {"t_a_1", {24, 112, 137, 185}, ""},    {"t_e_m_1", {32, 40, 65, 19}, "t_a_1"},
        {"Text1", {8, 72, 105, 73}, "t_a_1"},  {"b_e_1", {8, 152, 105, 25}, "t_a_1"},
        {"ALARMA", {40, 304, 105, 21}, ""},
    };
    for (const Placement& p : placements) {
        auto* control = Control<QWidget>(form, p.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), p.pixels) << p.name;
        const QWidget* expectedParent = *p.parent ? Control<QWidget>(form, p.parent) : &form;
        EXPECT_EQ(control->parentWidget(), expectedParent) << p.name;
    }
    EXPECT_EQ(form.size(), QSize(191, 338));
}

TEST_F(BuiltForm, IsAFixedToolWindowWithOnlyACloseBox)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velbrix Qorun"));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);  // kept out of the task bar
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.geometry().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(BuiltForm, ShowsTheDesignTextsAndNoSelectedEntry)
{
    EXPECT_EQ(Control<QLabel>(form, "Label2")->text(), QStringLiteral("Pin"));
    EXPECT_EQ(Control<QLabel>(form, "Label2")->alignment(), Qt::AlignCenter);
    EXPECT_EQ(Control<QLabel>(form, "Label1")->text(), QStringLiteral("Compañia"));
    EXPECT_EQ(Control<QLineEdit>(form, "pin")->text(), QStringLiteral("pin"));
    EXPECT_EQ(Control<QGroupBox>(form, "t_a_1")->title(), QStringLiteral("Zona de Alarma 1"));
    EXPECT_EQ(Control<QLineEdit>(form, "t_e_m_1")->text(), QStringLiteral("Tlf envio"));
    EXPECT_EQ(form.MessageText(), u"Texto a enviar\r\n");
    EXPECT_EQ(Control<QPushButton>(form, "b_e_1")->text(), QStringLiteral("Env. Config. zona 1"));
    EXPECT_FALSE(Control<QPushButton>(form, "b_e_1")->isDefault());
    EXPECT_FALSE(Control<QPushButton>(form, "b_e_1")->autoDefault());

    struct Expected {
        const char* name;
        QString editText;
        std::vector<std::pair<QString, int>> entries;
    };
    const Expected selectors[] = {
        {"Combo1", QStringLiteral("Compañia"),
         {{"MOVISTAR", 609090909}, {"AMENA", 656000311}, {"VODAFONE", 607003110},
          {"YOIGO", 622996111}}},
        {"ALARMA", QStringLiteral("alarma"),
         {{"Zona 1", 1}, {"Zona 2", 2}, {"Zona 3", 3}, {"Zona 4", 4}}},
    };
    for (const Expected& e : selectors) {
        auto* box = Control<QComboBox>(form, e.name);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentIndex(), -1) << e.name;
        EXPECT_EQ(box->currentText(), e.editText) << e.name;
        ASSERT_EQ(box->count(), static_cast<int>(e.entries.size()));
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_EQ(box->itemText(i), e.entries[i].first);
            EXPECT_EQ(box->itemData(i).toInt(), e.entries[i].second);
        }
    }
    // Nothing goes out while the window is only built.
    EXPECT_TRUE(library.written.empty());
    EXPECT_EQ(library.connectCalls, 0);
}


TEST_F(BuiltForm, EveryControlHasAnAccessibleName)
{
    for (const char* name :
         {"Label2", "pin", "Label1", "Combo1", "t_a_1", "t_e_m_1", "Text1", "b_e_1", "ALARMA"}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
            Control<QWidget>(form, name));
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << name;
    }
}

TEST_F(BuiltForm, LimitsHoldBeforeAnyEdit)
{
    EXPECT_EQ(Control<QLineEdit>(form, "pin")->maxLength(), 4);
    EXPECT_EQ(Control<QLineEdit>(form, "t_e_m_1")->maxLength(), 9);
}

TEST_F(BuiltForm, FocusStartsInThePhoneAndTabFollowsTheLayoutOrder)
{
    ShowAndActivate(form);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QWidget* focused = QApplication::focusWidget();
        // An editable combo box's line edit takes the keys for the box.
        if (auto* box = qobject_cast<QComboBox*>(focused->parentWidget()))
            focused = box;
        visited << focused->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, QStringList({"t_e_m_1", "Text1", "b_e_1", "ALARMA", "Combo1", "pin",
                                    "t_e_m_1"}));
    for (const char* name : {"Label1", "Label2", "t_a_1"})
        EXPECT_EQ(Control<QWidget>(form, name)->focusPolicy(), Qt::NoFocus) << name;
}

}  // namespace
