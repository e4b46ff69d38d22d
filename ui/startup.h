#pragma once
// Start-up: the process's settings for the browsers, the three windows in
// their order, the message loop.

#include <memory>

namespace umbra::ui {

class TForm1;
class TForm3;
class TForm4;

// Before the application object is made. The browsers' sandbox cannot run
// for root, so the program turns it off itself then.
void PrepareProcessEnvironment();

// Set to 1, this variable lets the browser engine's own log lines (and the
// pages' script messages) through to the terminal.
inline constexpr char kBrowserLogVariable[] = "UMBRASCOPE_BROWSER_LOG";

// Keeps the browser engine's log lines off the terminal unless the user asks
// for them with kBrowserLogVariable. Part of PrepareProcessEnvironment.
void QuietBrowserLogs();

// The program's windows: the main window TForm1 (its FormCreate loads the
// banner and the settings), then the notice window TForm3 and the web-client
// window TForm4, all hidden. They live until this object goes.
class ProgramWindows {
 public:
  ProgramWindows();
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  TForm1& Form1() { return *form1_; }
  TForm3& Form3() { return *form3_; }
  TForm4& Form4() { return *form4_; }

 private:
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
};

// Shows the main window and runs the message loop until the main window has
// been closed. Returns the exit code, 0.
int RunMessageLoop(ProgramWindows& windows);

// The whole program: application, windows, message loop.
int RunProgram(int argc, char** argv);

}  // namespace umbra::ui
