// The labelled buttons' faces in the user's language: the delivered pictures for English words,
// the catalogue's word drawn over the blank face otherwise, the way the artwork drew the
// delivered words.
#include "controls/ButtonFace.h"
#include "resources/Artwork.h"
#include "support/SourceTree.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

namespace {

const char* const kButtons[] = {"Apply",  "Cancel",     "Refresh", "Connect", "Add",
                                "Remove", "Properties", "Up",      "Down",    "Rescan"};

// The words of the delivered German catalogue, by their English keys.
std::map<std::string, QString> germanWords() {
    std::ifstream in(sourceTree() / "resources" / "translations" / "define.de.ini");
    std::map<std::string, QString> words;
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos && line[0] != ';') {
            words[line.substr(0, equals)] = QString::fromStdString(line.substr(equals + 1));
        }
    }
    return words;
}

// Columns that differ between two pictures of one size.
int firstDifferingColumn(const QImage& a, const QImage& b, bool fromRight) {
    for (int i = 0; i < a.width(); ++i) {
        const int x = fromRight ? a.width() - 1 - i : i;
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return i;
            }
        }
    }
    return a.width();
}

// Drawn at run time, the English words give the delivered pictures pixel for pixel: the faces of
// other words are drawn as the artwork drew these.
TEST(ButtonFace, TheEnglishWordDrawnOverTheBlankFaceIsTheDeliveredPicture) {
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        const QImage delivered =
            QImage(artwork::buttonBitmapPath(name)).convertToFormat(QImage::Format_RGB32);
        const QImage drawn = drawnButtonFace(name, QString::fromLatin1(name));
        ASSERT_EQ(drawn.size(), delivered.size());
        EXPECT_EQ(firstDifferingColumn(drawn, delivered, false), delivered.width());
        EXPECT_EQ(buttonFace(name, QString::fromLatin1(name)), QImage(artwork::buttonBitmapPath(name)));
    }
}

// Every German word of the delivered catalogue is on its button, whole: the face differs from the
// English one, and the word keeps off the button's edges.
TEST(ButtonFace, TheGermanWordsFitTheirButtons) {
    const auto words = germanWords();
    for (const char* name : kButtons) {
        const auto word = words.find(name);
        if (word == words.end()) {
            continue; // a text without a translation stays English
        }
        SCOPED_TRACE(name);
        const QImage blank = QImage(artwork::blankButtonPath(name)).convertToFormat(QImage::Format_RGB32);
        const QImage face = buttonFace(name, word->second);
        ASSERT_EQ(face.size(), blank.size());
        EXPECT_NE(face, QImage(artwork::buttonBitmapPath(name)).convertToFormat(QImage::Format_RGB32));
        const int arrow = std::string(name) == "Up" || std::string(name) == "Down" ? 18 : 0;
        EXPECT_GE(firstDifferingColumn(face, blank, false), arrow + 2) << "the word runs into the left edge";
        EXPECT_GE(firstDifferingColumn(face, blank, true), 2) << "the word runs into the right edge";
    }
}

TEST(ButtonFace, NoFaceForAnUnknownPicture) {
    EXPECT_TRUE(buttonFace("Delete", QStringLiteral("Delete")).isNull());
    EXPECT_TRUE(drawnButtonFace(nullptr, QStringLiteral("Apply")).isNull());
}

} // namespace
