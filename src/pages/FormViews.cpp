#include "pages/FormViews.h"

#include "controls/ApplicationTitle.h"
#include "controls/ButtonFace.h"
#include "controls/SkinButton.h"
#include "controls/UiServices.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QSignalBlocker>

namespace formviews {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* addList(QWidget* page, const char* objectName, const QRect& geometry, QLabel* caption) {
    auto* combo = new QComboBox(page);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setGeometry(geometry);
    // A list shows every item without a scroll bar: the longest has 14 channels.
    combo->setMaxVisibleItems(16);
    if (caption != nullptr) {
        // Screen readers on Linux name a list by its current item and read this label with it;
        // where they take the name instead, it is the caption too.
        caption->setBuddy(combo);
        combo->setAccessibleName(caption->text());
    }
    return combo;
}

void showChoice(QComboBox* combo, const logic::ChoiceList& list) {
    const QSignalBlocker quiet(combo);
    QStringList items;
    for (const std::string& item : list.items) {
        items << fromUtf8(item);
    }
    bool same = combo->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) {
        same = combo->itemText(i) == items.at(i);
    }
    if (!same) {
        combo->clear();
        combo->addItems(items);
    }
    combo->setCurrentIndex(list.selected);
    combo->setEnabled(list.enabled);
    combo->setVisible(list.visible);
}

namespace {

// The picture a little lighter, for the mouse over it: a square frame would cut the corners of
// the rounded button. Magenta, the transparent colour, stays magenta.
QImage lighter(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00ffffffu) == 0x00ff00ffu) {
                continue;
            }
            const auto lift = [](int channel) { return channel + (255 - channel) / 5; };
            line[x] = qRgb(lift(qRed(line[x])), lift(qGreen(line[x])), lift(qBlue(line[x])));
        }
    }
    return out;
}

} // namespace

SkinButton* addBitmapButton(QWidget* page, const char* picture, const QString& word, const char* objectName,
                            int x, int y) {
    auto* button = new SkinButton(page);
    button->setObjectName(QString::fromLatin1(objectName));
    const QImage face = buttonFace(picture, word);
    button->setImagePair(lighter(face), face);
    button->move(x, y);
    // The picture carries the word; screen readers and tooltips get it here.
    button->setAccessibleName(word);
    button->setToolTip(word);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

ApplyCancel addApplyCancel(QWidget* page, const QString& applyWord, const QString& cancelWord) {
    const int cancelX = rightEdge - buttonWidth;
    const int applyX = cancelX - buttonGap - buttonWidth;
    return {addBitmapButton(page, "Apply", applyWord, "applyButton", applyX, buttonY),
            addBitmapButton(page, "Cancel", cancelWord, "cancelButton", cancelX, buttonY)};
}

} // namespace formviews
