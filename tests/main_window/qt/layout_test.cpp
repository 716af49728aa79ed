// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as built, before any handler runs.

#include <QGuiApplication>
#include <QScreen>

#include "tests/main_window/qt/form_driver.h"

namespace {

TEST(BuiltForm, IsAFixedToolWindowWithTheDesignTextsAndTabOrder)
{
    RecordingLibrary library;
    QtMainWindow form{library};
    EXPECT_EQ(form.size(), QSize(191, 338));
    const std::vector<std::vector<const char*>> columns = {
        {"Label2", "pin", "Label1", "Combo1", "t_a_1", "ALARMA"}, {"t_e_m_1", "Text1", "b_e_1"}};
    for (const auto& column : columns) {
        int top = -1;
        for (const char* name : column) {
            const QWidget* control = Control<QWidget>(form, name);
            EXPECT_GT(control->y(), top) << name;
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry())) << name;
            top = control->y();
        }
    }
    EXPECT_EQ(Control<QWidget>(form, "Text1")->parentWidget(), Control<QWidget>(form, "t_a_1"));

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velbrix Qorun"));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);  // kept out of the task bar
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.geometry().center() - screen.center()).manhattanLength(), 1);

    const std::pair<const char*, QString> texts[] = {
        {"Label2", QStringLiteral("Pin")}, {"Label1", QStringLiteral("Compañia")},
        {"pin", QStringLiteral("pin")},    {"t_a_1", QStringLiteral("Zona de Alarma 1")},
        {"t_e_m_1", QStringLiteral("Tlf envio")}, {"b_e_1", QStringLiteral("Env. Config. zona 1")},
    };
    for (const auto& [name, text] : texts) {
        const QObject* control = Control<QWidget>(form, name);
        const char* property = qobject_cast<const QGroupBox*>(control) ? "title" : "text";
        EXPECT_EQ(control->property(property).toString(), text) << name;
    }
    EXPECT_EQ(Control<QLabel>(form, "Label2")->alignment(), Qt::AlignCenter);
    EXPECT_EQ(form.Form().MessageText(), u"Texto a enviar\r\n");
    EXPECT_FALSE(Control<QPushButton>(form, "b_e_1")->isDefault() || Control<QPushButton>(form, "b_e_1")->autoDefault());

    for (const auto& [name, editText] : {std::pair{"Combo1", QStringLiteral("Compañia")},
                                         std::pair{"ALARMA", QStringLiteral("alarma")}}) {
        auto* box = Control<QComboBox>(form, name);
        EXPECT_TRUE(box->isEditable()) << name;
        EXPECT_EQ(box->currentIndex(), -1) << name;
        EXPECT_EQ(box->currentText(), editText) << name;
        EXPECT_EQ(box->count(), 4) << name;
    }
    EXPECT_TRUE(library.calls.empty());

    // Focus starts in the phone and Tab follows the layout order.
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
}

}  // namespace
