#pragma once

#include <QImage>
#include <QString>

// Reads a picture (a file or a built-in resource, ":/..."). A file is read only when it is a
// regular file of at most maxImageFileBytes, and only once: its bytes are decoded from memory.
// A picture of a button's size is kept, and read again only when its file has changed.
// A named pipe, a device, a directory or a larger file gives a null image at once (the caller
// then keeps or draws its built-in face), as does a picture wider or taller than maxImageSide.
//
// Names ending in .bmp or .png are decoded by Qt's own readers straight away: left to guess, Qt
// first loads every installed image plugin to ask each whether it reads the data, which costs
// the start several milliseconds. Anything else, or data that does not match its name, is
// decoded with the usual guessing.
QImage readImageFile(const QString& path);

// A skin picture is a few hundred kilobytes; these bound what a hostile one can cost.
inline constexpr qint64 maxImageFileBytes = qint64{16} << 20;
inline constexpr int maxImageSide = 8192;
