#pragma once
// Paths of the pictures built into the program (Qt resources of skyvane_resources).
// Every function returns an empty string for a number or name it does not know.

#include <QString>
#include <QStringList>

namespace artwork {

// Tray icons by resource number.
inline constexpr int kTrayStarting = 167;  // broken dim bars with an hourglass: until the first tick
inline constexpr int kTrayNotReady = 188;  // broken white bars with a red cross: adapter not ready
inline constexpr int kTrayNoSignal = 189;  // four white bars: not associated or signal below 5
inline constexpr int kTrayOneBar = 170;    // first bar green
inline constexpr int kTrayTwoBars = 169;   // two bars green
inline constexpr int kTrayThreeBars = 168; // three bars green
inline constexpr int kTrayFourBars = 175;  // all four bars green
inline constexpr int kTrayIconIds[] = {167, 168, 169, 170, 175, 188, 189};
inline constexpr int kTrayIconSizes[] = {16, 22, 24, 32, 48, 64};

// Site Survey list icons by resource number, in the order of the lists' image list.
inline constexpr int kListIconIds[] = {182, 181, 183, 184, 179, 177};

// Check-box icons.
inline constexpr int kCheckBoxChecked = 192;
inline constexpr int kCheckBoxUnchecked = 193;

// Labelled push-button bitmaps (magenta transparent) by resource number.
inline constexpr int kButtonBitmapIds[] = {152, 154, 155, 156, 157, 158, 159, 160, 161, 162};

// Built-in bitmap that the layout editor tries on the Configuration button.
inline constexpr int kLayoutEditorBitmap = 145;

// size 16, 22, 24, 32, 48 or 64 pixels.
QString trayIconPath(int resourceId, int size = 16);

// By label ("Apply", "Cancel", "Refresh", "Connect", "Add", "Remove", "Properties", "Up",
// "Down", "Rescan"), or by resource number (152 Rescan, 154 Apply, 155 Cancel, 156 Add,
// 157 Connect, 158 Properties, 159 Refresh, 160 Remove, 161 Down, 162 Up; 145 the layout
// editor's bitmap).
QString buttonBitmapPath(const char* name);
QString buttonBitmapPath(int resourceId);
// The same button's blank face, without its word, by label: the program draws a translated word
// over it (controls/ButtonFace.h).
QString blankButtonPath(const char* name);

// 177 green disc in a blue circle, 179 mast in a blue circle, 181 antenna mast,
// 182 green disc, 183 closed padlock, 184 open padlock.
QString listIconPath(int resourceId);

QString checkBoxIconPath(bool checked);

// The delivered skin picture a settings key names ("Main", "X1", "Link_Info1".."About3":
// 1 hovered or pressed, 2 normal, 3 selected).
QString builtinSkinPath(const char* key);

// Every path above, for checks that the pictures are all built in.
QStringList allResourcePaths();

} // namespace artwork
