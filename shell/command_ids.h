#pragma once
// Command identifiers of Vantrel's menus, tool bars and accelerators. A tool
// button bound to a menu item sends that item's identifier. Test drivers send
// WM_COMMAND with these numbers, so they are part of the program's outside.

namespace vantrel::cmd {

// Main window TForm1.
inline constexpr int FindWindow1 = 101;
inline constexpr int Findnext1 = 102;
inline constexpr int Windowfrompoint1 = 103;
inline constexpr int Refresh1 = 104;
inline constexpr int Exit1 = 105;
inline constexpr int Decimal = 111;
inline constexpr int Hexadecimal = 112;
inline constexpr int Showposition1 = 121;
inline constexpr int Clearpointers1 = 122;
inline constexpr int Show1 = 123;
inline constexpr int Enable1 = 124;
inline constexpr int Stayontop1 = 125;
inline constexpr int EditMove1 = 126;
inline constexpr int SetStyle1 = 127;
inline constexpr int Catchmessages1 = 128;
inline constexpr int Minimize1 = 129;
inline constexpr int Restore1 = 130;
inline constexpr int Maximize1 = 131;
inline constexpr int Close1 = 132;
inline constexpr int About1 = 141;
inline constexpr int Copy1 = 151;
inline constexpr int CopyAll1 = 152;  // "Copy all" of the property list

// Catch Messages window TForm5ForHook.
inline constexpr int MenuCatchRun = 201;
inline constexpr int MenuCatchStop = 202;
inline constexpr int Hiderepetitions1 = 203;
inline constexpr int MenuCatchClear = 204;
inline constexpr int MenuCatchSave = 205;
inline constexpr int MenuCatchExit = 206;
inline constexpr int MenuMessTimer = 211;
inline constexpr int MenuMessPaint = 212;
inline constexpr int MenuMessMouse = 213;
inline constexpr int MenuMessKeyb = 214;
inline constexpr int MenuMessCursor = 215;
inline constexpr int MenuMessOther = 216;
// The six category check buttons of the Catch Messages tool bar flip their own
// pressed state first, so they have identifiers of their own.
inline constexpr int ToolButton6 = 221;   // Timer
inline constexpr int ToolButton7 = 222;   // Paint
inline constexpr int ToolButton8 = 223;   // Mouse
inline constexpr int ToolButton9 = 224;   // Keyboard
inline constexpr int ToolButton10 = 225;  // Cursor
inline constexpr int ToolButton11 = 226;  // Other
// "Filter..." after the six category items of "&Messages".
inline constexpr int MenuMessFilter = 217;
// The "&View" menu: the Details switch (its check button after the category
// buttons flips its own pressed state first, so it has an identifier of its
// own), the Watch choice, and Find in the log.
inline constexpr int MenuViewDetails = 231;
inline constexpr int DetailsButton = 232;
inline constexpr int MenuWatchWindow = 233;       // the selected window (at start)
inline constexpr int MenuWatchDescendants = 234;  // the window and all its descendants
inline constexpr int MenuWatchThread = 235;       // every window of its thread
inline constexpr int MenuWatchProcess = 236;      // every window of its process
inline constexpr int MenuLogFind = 237;
inline constexpr int MenuLogFindNext = 238;

}  // namespace vantrel::cmd

// Control identifiers that drivers look up with GetDlgItem.
namespace vantrel::ctl {
inline constexpr int TreeView1 = 1001;
inline constexpr int ListView1 = 1002;
inline constexpr int StatusBar1 = 1003;
inline constexpr int ToolBar1 = 1004;
inline constexpr int Panel1 = 1005;
inline constexpr int Panel2 = 1006;
inline constexpr int Splitter1 = 1007;
inline constexpr int Memo1 = 1101;        // Catch Messages log pane
inline constexpr int CatchToolBar1 = 1102;
inline constexpr int CatchStatus = 1103;  // the line under the log pane that tells how Find went
// Dialog controls.
inline constexpr int Edit1 = 1201;
inline constexpr int Edit2 = 1202;
inline constexpr int Edit3 = 1203;
inline constexpr int CheckBox1 = 1211;
inline constexpr int SpinEdit1 = 1221;  // SpinEdit1..SpinEdit8 are 1221..1228
inline constexpr int StyleFlagList = 1231;    // Set Style: the style's flags to tick
inline constexpr int ExStyleFlagList = 1232;  // Set Style: the extended style's flags to tick
inline constexpr int FilterList = 1241;       // Message filter: every named message to tick
inline constexpr int FilterText = 1242;       // Message filter: numbers, ranges and names to hide
inline constexpr int FilterError = 1243;      // Message filter: what is wrong with the typed entries
inline constexpr int FilterShowAll = 1244;    // Message filter: "Show all"
inline constexpr int Button1 = 1;       // OK (IDOK)
inline constexpr int Button2 = 2;       // Cancel (IDCANCEL)
}  // namespace vantrel::ctl
