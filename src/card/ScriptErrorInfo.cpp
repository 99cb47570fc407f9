#include "card/ScriptErrorInfo.h"

#include "common/Localization.h"

namespace zentrova {
namespace {

// Shells report a program that cannot be started with this status.
constexpr int kCannotRunStatus = 127;
constexpr int kElevationDismissed = 126;
constexpr int kElevationNotAuthorized = 127;

std::string trimmedTrailingNewlines(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string joinedLines(const std::string& first, const std::string& second) {
    if (second.empty()) return first;
    return first + "\n" + second;
}

std::string elevationText(int status) {
    if (status == kElevationDismissed) return localized("msg.admin_dismissed");
    return localized("msg.admin_not_authorized");
}

}  // namespace

std::string ScriptErrorInfo::description() const {
    if (empty()) return "{}";
    std::string text = "{";
    if (errorMessage) text += std::string(kScriptErrorMessageKey) + " = \"" + oneLine(*errorMessage) + "\";";
    if (errorNumber) {
        if (errorMessage) text += ' ';
        text += std::string(kScriptErrorNumberKey) + " = " + std::to_string(*errorNumber) + ";";
    }
    return text + "}";
}

ScriptErrorInfo scriptErrorFromOutcome(const CommandOutcome& outcome, bool withAdministratorPrivileges) {
    ScriptErrorInfo info;
    const std::string errorOutput = trimmedTrailingNewlines(outcome.errorOutput);
    switch (outcome.kind) {
    case CommandOutcome::Kind::NotStarted:
        info.errorNumber = kCannotRunStatus;
        info.errorMessage = fillFormat(localized("msg.command_cannot_run_fmt"), {outcome.program, outcome.reason});
        return info;
    case CommandOutcome::Kind::Signalled:
        info.errorNumber = 128 + outcome.code;
        info.errorMessage = joinedLines(
            fillFormat(localized("msg.command_signalled_fmt"), {std::to_string(outcome.code)}), errorOutput);
        return info;
    case CommandOutcome::Kind::Exited:
        break;
    }
    if (outcome.code == 0) return info;
    info.errorNumber = outcome.code;
    if (withAdministratorPrivileges &&
        (outcome.code == kElevationDismissed || outcome.code == kElevationNotAuthorized)) {
        info.errorMessage = joinedLines(elevationText(outcome.code), errorOutput);
    } else if (!errorOutput.empty()) {
        info.errorMessage = errorOutput;
    } else {
        info.errorMessage = fillFormat(localized("msg.command_failed_fmt"), {std::to_string(outcome.code)});
    }
    return info;
}

}  // namespace zentrova
