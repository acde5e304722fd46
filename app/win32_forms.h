#pragma once
// The six forms, created once at start-up in their order and kept until the
// program ends.

namespace vantrel::win32 {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5ForHook;
class TForm6;

// At start, before anything else loads: libraries loaded by name from then
// on come from the system folder only.
void LoadLibrariesFromTheSystemOnly();

TForm1& Form1();
TForm2& Form2();
TForm3& Form3();
TForm4& Form4();
TForm5ForHook& Form5ForHook();
TForm6& Form6();

}  // namespace vantrel::win32
