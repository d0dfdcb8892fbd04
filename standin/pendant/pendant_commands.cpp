#include "standin/pendant/pendant_commands.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace standin {

namespace {

// The report id the receiver gives the pendant's input reports.
constexpr BYTE kInputReportId = 4;

bool parseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool parseAxis(const std::string& text, long& code) {
    static const std::map<std::string, long> names = {{"x", 17},       {"y", 18},    {"z", 19},
                                                      {"spindle", 20}, {"feed", 21}, {"lead", 22}};
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto named = names.find(lower);
    if (named != names.end()) {
        code = named->second;
        return true;
    }
    return parseNumber(text, 0, 255, code);
}

struct Syntax {
    PendantCommand::Kind kind;
    size_t minArgs;
    size_t maxArgs;
    long low;
    long high;
    const char* usage;
};

const std::map<std::string, Syntax>& syntaxes() {
    using Kind = PendantCommand::Kind;
    static const std::map<std::string, Syntax> table = {
        {"key", {Kind::Key, 1, 2, 0, 255, "key N [M] with key codes 0-255"}},
        {"release", {Kind::Release, 0, 0, 0, 0, "release"}},
        {"rate", {Kind::Rate, 1, 1, 0, 255, "rate N with N 0-255"}},
        {"axis", {Kind::Axis, 1, 1, 0, 255, "axis X|Y|Z|spindle|feed|lead|0-255"}},
        {"wheel", {Kind::Wheel, 1, 1, -128, 127, "wheel N with N -128 to 127"}},
        {"turn", {Kind::Turn, 1, 1, -128, 127, "turn N with N -128 to 127"}},
        {"repeat", {Kind::Repeat, 1, 1, 0, 60000, "repeat MS with MS 0-60000"}},
        {"wait", {Kind::Wait, 1, 1, 0, 3600000, "wait MS with MS 0-3600000"}},
        {"channels", {Kind::Channels, 2, 2, 0, 255, "channels HW TS with channels 0-255"}},
        {"ids", {Kind::Ids, 2, 2, 0, 0xFFFF, "ids HW TS with ids 0-65535"}},
        {"quit", {Kind::Quit, 0, 0, 0, 0, "quit"}},
        {"unplug", {Kind::Unplug, 0, 0, 0, 0, "unplug"}},
        {"plug", {Kind::Plug, 0, 0, 0, 0, "plug"}},
    };
    return table;
}

}  // namespace

bool parseCommand(const std::string& line, std::optional<PendantCommand>& command,
                  std::string& error) {
    command.reset();
    std::istringstream words(line);
    std::string name;
    if (!(words >> name) || name[0] == '#') return true;
    std::vector<std::string> args;
    for (std::string arg; words >> arg;) args.push_back(arg);

    auto syntax = syntaxes().find(name);
    if (syntax == syntaxes().end()) {
        error = "unknown command \"" + name + "\"";
        return false;
    }
    const Syntax& rule = syntax->second;
    PendantCommand parsed{rule.kind};
    long* values[] = {&parsed.first, &parsed.second};
    bool valid = args.size() >= rule.minArgs && args.size() <= rule.maxArgs;
    for (size_t i = 0; valid && i < args.size(); ++i) {
        valid = rule.kind == PendantCommand::Kind::Axis
                    ? parseAxis(args[i], *values[i])
                    : parseNumber(args[i], rule.low, rule.high, *values[i]);
    }
    if (!valid) {
        error = std::string("usage: ") + rule.usage;
        return false;
    }
    command = parsed;
    return true;
}

pendant::receiver_protocol::Report PendantControls::apply(const PendantCommand& command) {
    BYTE wheel = turning_;
    switch (command.kind) {
    case PendantCommand::Kind::Key:
        key1_ = static_cast<BYTE>(command.first);
        key2_ = static_cast<BYTE>(command.second);
        break;
    case PendantCommand::Kind::Release:
        key1_ = key2_ = 0;
        break;
    case PendantCommand::Kind::Rate:
        rateKnob_ = static_cast<BYTE>(command.first);
        break;
    case PendantCommand::Kind::Axis:
        axisKnob_ = static_cast<BYTE>(command.first);
        break;
    case PendantCommand::Kind::Wheel:
        wheel = static_cast<BYTE>(static_cast<signed char>(command.first));
        break;
    case PendantCommand::Kind::Turn:
        wheel = turning_ = static_cast<BYTE>(static_cast<signed char>(command.first));
        break;
    default:
        break;
    }
    return {kInputReportId, 0, key1_, key2_, rateKnob_, axisKnob_, wheel, 0};
}

pendant::receiver_protocol::Report PendantControls::standing() const {
    return {kInputReportId, 0, key1_, key2_, rateKnob_, axisKnob_, turning_, 0};
}

}  // namespace standin
