#pragma once

#include <QImage>
#include <QString>

// Reads a picture (a file or a built-in resource). Names ending in .bmp or .png are read by
// Qt's own readers straight away: left to guess, Qt first loads every installed image plugin to
// ask each whether it reads the file, which costs the start several milliseconds. Anything else,
// or a file whose content does not match its name, is read with the usual guessing.
QImage readImageFile(const QString& path);
