#include "controls/DesktopUiServices.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(RecordingUiServices, RecordsMessagesBeepsAndTheCursor) {
    RecordingUiServices ui;
    ui.message(nullptr, QStringLiteral("Bad key"), QStringLiteral("Prompt"), UiServices::MessageIcon::None);
    ui.message(nullptr, QStringLiteral("Short"), QStringLiteral("Warning"),
               UiServices::MessageIcon::Information);
    ui.beep();
    ui.beginWaitCursor();
    ui.endWaitCursor();
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("Short"));
    EXPECT_EQ(ui.messages()[1].caption, QStringLiteral("Warning"));
    EXPECT_EQ(ui.messages()[1].icon, UiServices::MessageIcon::Information);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ui.waitCursorBegins(), 1);
    EXPECT_EQ(ui.waitCursorEnds(), 1);
    EXPECT_EQ(ui.waitCursorDepth(), 0);
}

TEST(RecordingUiServices, ModalRunsFollowTheScript) {
    RecordingUiServices ui;
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Profile"));
    auto* edit = new QLineEdit(&dialog);
    EXPECT_EQ(ui.runModal(dialog), QDialog::Rejected) << "no script: the user cancels";

    ui.setModalScript([](QDialog&) { return int(QDialog::Rejected); });
    ui.queueModal([edit](QDialog&) {
        edit->setText(QStringLiteral("home"));
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ui.runModal(dialog), QDialog::Accepted);
    EXPECT_EQ(edit->text(), QStringLiteral("home"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.runModal(dialog), QDialog::Rejected) << "the queue is used up, the standing script answers";
    EXPECT_EQ(ui.modalRuns(), (std::vector<QString>(3, QStringLiteral("Profile"))));
}

TEST(DesktopUiServices, WaitCursorIsRestored) {
    DesktopUiServices ui;
    ui.beginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.endWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DesktopUiServices, RunModalReturnsTheDialogsResult) {
    DesktopUiServices ui;
    QDialog dialog;
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    EXPECT_EQ(ui.runModal(dialog), QDialog::Accepted);
}

} // namespace
