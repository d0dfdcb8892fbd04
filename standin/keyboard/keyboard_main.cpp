// The operator's keyboard: types key chords through the system's input queue,
// as keys pressed on the keyboard (so a system-wide hotkey sees them).
//
//   keyboard CHORD...     for example: keyboard ctrl+f11
//
// A chord is modifiers (ctrl, shift, alt) and one key (f1 to f12, a letter,
// a digit, enter, home, pause) joined by "+", in any case.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

WORD keyCode(const std::string& name) {
    if (name == "ctrl") return VK_CONTROL;
    if (name == "shift") return VK_SHIFT;
    if (name == "alt") return VK_MENU;
    if (name == "enter") return VK_RETURN;
    if (name == "home") return VK_HOME;
    if (name == "pause") return VK_PAUSE;
    if (name.size() >= 2 && name[0] == 'f' && std::all_of(name.begin() + 1, name.end(), ::isdigit)) {
        const int n = std::stoi(name.substr(1));
        if (n >= 1 && n <= 12) return static_cast<WORD>(VK_F1 + n - 1);
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    return 0;
}

INPUT keyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// The keys of one chord in the order they go down; empty when a name is unknown.
std::vector<WORD> parseChord(std::string chord) {
    std::transform(chord.begin(), chord.end(), chord.begin(), ::tolower);
    std::vector<WORD> keys;
    std::stringstream parts(chord);
    std::string name;
    while (std::getline(parts, name, '+')) {
        const WORD key = keyCode(name);
        if (!key) return {};
        keys.push_back(key);
    }
    return keys;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: keyboard CHORD..." << std::endl;
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const std::vector<WORD> keys = parseChord(argv[i]);
        if (keys.empty()) {
            std::cerr << "unknown key in " << argv[i] << std::endl;
            return 2;
        }
        std::vector<INPUT> inputs;
        for (WORD key : keys) inputs.push_back(keyInput(key, false));
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(keyInput(*key, true));
        if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
            std::cerr << "the keys of " << argv[i] << " were not sent (error " << GetLastError() << ")" << std::endl;
            return 1;
        }
        Sleep(50);
    }
    return 0;
}
