#pragma once

#include <QImage>
#include <QString>

// The pictures of the program's labelled push buttons ("Apply", "Connect", "Up", ...) carry their
// word. A user whose catalogue translates the word gets it on the button too: the word is drawn
// over the button's blank face the way the artwork draws the delivered words (one typeface, the
// delivered words' colour, size and place, a smaller size only where a longer word needs it, and
// a word too long for the button cut with an ellipsis).

// The face of button picture (its English name) that carries word: the delivered picture itself
// when word is the one it carries, else the word drawn over the blank face. A null image for a
// name that is no button picture.
QImage buttonFace(const char* picture, const QString& word);

// The word drawn over the blank face, whatever the word (tests compare it with the delivered
// pictures, which the artwork drew the same way).
QImage drawnButtonFace(const char* picture, const QString& word);
