#pragma once
// One exchange between a dialog's members and its controls: into the
// controls, or out of them with validation. A control whose text is not a
// number fails the exchange for a double: the user is told with the standard
// prompt "Please enter a number.", the control gets the focus with its text
// selected, and the exchanges after it in the same step are skipped.
#include <windows.h>

#include <string>

namespace app {

class DataExchange {
public:
    DataExchange(HWND dialog, bool saveAndValidate);

    bool saveAndValidate() const { return saveAndValidate_; }
    bool failed() const { return failed_; }

    void text(int controlId, std::string& value);
    // Shown with 15 significant digits ("34.4"); read back as a number with
    // blanks around it allowed.
    void number(int controlId, double& value);
    // Check box: 0 unchecked, 1 checked, 2 indeterminate.
    void check(int controlId, int& value);

private:
    void fail(HWND control, const char* prompt);

    HWND dialog_;
    bool saveAndValidate_;
    bool failed_ = false;
};

// The text a double is shown as in an edit control.
std::string formatNumber(double value);
// A number, with blanks before and after allowed and nothing else; false for
// any other text, the empty one included.
bool parseNumber(const std::string& text, double& value);

// The program's title: its executable's name without the extension, the
// caption of the standard prompts.
std::string applicationTitle();

}  // namespace app
