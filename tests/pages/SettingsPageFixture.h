#pragma once
// The Configuration and Encryption pages over the files of a scratch folder: a settings file with
// the wireless modes it offers, "on_link" as the test writes it, the registry mirror in the
// folder, and recording UI services. The page is made after the files are in place, as the
// program makes it after start-up.

#include "support/FakeContext.h"
#include "support/ScratchDirectory.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStringList>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

struct SettingsFile {
    bool mode11b = true, mode11g = true, mode11gt = true, mode11a = true, mode11at = true, modeXR = true;
    std::string autoWpaWpa2 = "YES";
};

// The user's hands: keys typed into the focused widget, and a click of the left button in the
// middle of a widget.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

inline void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

inline void clickOn(QWidget* widget) {
    const QPointF middle = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(middle);
    QMouseEvent press(QEvent::MouseButtonPress, middle, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// What a screen reader says a control is: its name, and the labels it is labelled by (a
// drop-down list is named by its current item, its label says what it is).
inline QStringList spokenAs(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible == nullptr) {
        return {};
    }
    QStringList words{accessible->text(QAccessible::Name)};
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label)) {
        words << label->text(QAccessible::Name);
    }
    words.removeAll(QString());
    return words;
}

template <typename PageType> class SettingsPageFixture : public ScratchDirectory {
public: // the cases' lambdas drive the page too
    void TearDown() override {
        m_page.reset();
        ScratchDirectory::TearDown();
    }

    static void writeSettings(const SettingsFile& s) {
        std::ofstream out("a.cba", std::ios::trunc);
        const auto flag = [](bool on) { return on ? "1" : "0"; };
        out << "[Setini]\nAutoWPAWPA2=" << s.autoWpaWpa2 << "\n\n[Check]\n11b=" << flag(s.mode11b)
            << "\n11g=" << flag(s.mode11g) << "\n11gt=" << flag(s.mode11gt) << "\n11a=" << flag(s.mode11a)
            << "\n11at=" << flag(s.mode11at) << "\nXR=" << flag(s.modeXR) << "\n";
    }

    // A store holding only "on_link" with every key of the record.
    void writeOnLink(const ProfileRecord& record) {
        std::remove("S.CBA");
        fake.store.writeOnLink(record);
    }

    PageType& page() {
        if (!m_page) {
            m_page = std::make_unique<PageType>(fake.context, nullptr);
        }
        return *m_page;
    }

    template <typename T> T* child(const char* name) {
        T* widget = page().template findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QStringList items(const QComboBox* combo) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i) {
            texts << combo->itemText(i);
        }
        return texts;
    }

    // The user picks an item, as a click on the list would.
    static void choose(QComboBox* combo, int index) {
        ASSERT_TRUE(combo->isEnabled() && index < combo->count()) << combo->objectName().toStdString();
        combo->setCurrentIndex(index);
    }

    // Every control the user can reach has a name, and every drop-down list a label.
    void expectEveryControlNamed() {
        for (QWidget* widget : page().template findChildren<QWidget*>()) {
            if (widget->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(widget) != nullptr) {
                continue;
            }
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(accessible, nullptr);
            const std::string name = widget->objectName().toStdString();
            if (qobject_cast<QComboBox*>(widget) != nullptr) {
                EXPECT_FALSE(accessible->relations(QAccessible::Label).isEmpty()) << name;
            } else {
                EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << name;
            }
        }
    }

    StationConfig mirrored() const {
        StationConfig record{};
        EXPECT_EQ(fake.mirror.load(record), 1) << "the mirror was written";
        return record;
    }

    FakeContext fake;

private:
    std::unique_ptr<PageType> m_page;
};
