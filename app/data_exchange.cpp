#include "app/data_exchange.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/message_box.h"

namespace app {
namespace {

const char* const kNotANumberPrompt = "Please enter a number.";

std::string controlText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    return text.data();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

DataExchange::DataExchange(HWND dialog, bool saveAndValidate)
    : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

void DataExchange::text(int controlId, std::string& value) {
    if (failed_) return;
    HWND control = GetDlgItem(dialog_, controlId);
    if (saveAndValidate_) {
        value = controlText(control);
    } else {
        SetWindowTextA(control, value.c_str());
    }
}

void DataExchange::number(int controlId, double& value) {
    if (failed_) return;
    HWND control = GetDlgItem(dialog_, controlId);
    if (!saveAndValidate_) {
        SetWindowTextA(control, formatNumber(value).c_str());
        return;
    }
    double read = 0;
    if (!parseNumber(controlText(control), read)) {
        fail(control, kNotANumberPrompt);
        return;
    }
    value = read;
}

void DataExchange::check(int controlId, int& value) {
    if (failed_) return;
    HWND control = GetDlgItem(dialog_, controlId);
    if (saveAndValidate_) {
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DataExchange::fail(HWND control, const char* prompt) {
    failed_ = true;
    showMessageBox(dialog_, prompt, applicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

std::string formatNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", DBL_DIG, value);
    return text;
}

bool parseNumber(const std::string& text, double& value) {
    const char* start = text.c_str();
    while (isBlank(*start)) ++start;
    char* end = nullptr;
    const double read = std::strtod(start, &end);
    if (end == start) return false;
    while (isBlank(*end)) ++end;
    if (*end != '\0') return false;
    value = read;
    return true;
}

std::string applicationTitle() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string name = path;
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace app
