#include "calls/ReverseLookup.h"

#include "calls/CallViews.h"
#include "support/Log.h"
#include "support/NumericText.h"

#include <array>
#include <utility>

std::optional<std::string> lookupNumber(const std::string& displayText) {
    std::string number = displayText;
    const std::size_t paren = displayText.find('(');
    if (paren != std::string::npos) {
        // Drops the blank in front of the parenthesis.
        number = displayText.substr(0, paren >= 1 ? paren - 1 : 0);
    }
    if (!isNumericText(number)) {
        return std::nullopt;
    }
    return number;
}

std::string lookupAddress(const std::string& urlTemplate, const std::string& number) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : number) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                                (c >= 'a' && c <= 'z') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded.push_back(kHex[byte >> 4]);
            encoded.push_back(kHex[byte & 0x0F]);
        }
    }
    std::string address = urlTemplate;
    const std::size_t slot = address.find("%s");
    if (slot == std::string::npos) {
        return address + encoded;
    }
    return address.replace(slot, 2, encoded);
}

std::string shellExecuteErrorText(long code) {
    static const std::array<std::pair<long, const char*>, 16> kTexts = {{
        {0, "System was out of memory, executable file was corrupt, or relocations were "
            "invalid."},
        {2, "File was not found."},
        {3, "Path was not found."},
        {5, "Attempt was made to dynamically link to a task, or there was a sharing or "
            "network-protection error."},
        {6, "Library required separate data segments for each task."},
        {8, "There was insufficient memory to start the application."},
        {10, "Windows version was incorrect."},
        {11, "Executable file was invalid. Either it was not a Windows application, or there "
             "was an error in the .exe image."},
        {12, "Application was designed for a different operating system."},
        {13, "Application was designed for MS-DOS 4.0."},
        {14, "Type of executable file was unknown."},
        {15, "Attempt was made to load a real-mode application (developed for an earlier "
             "version of Windows)."},
        {16, "Attempt was made to load a second instance of an executable file containing "
             "multiple data segments that were not marked read-only."},
        {19, "Attempt was made to load a compressed executable file. The file must be "
             "decompressed before it can be loaded."},
        {20, "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run "
             "this application was corrupt."},
        {21, "Application requires Microsoft Windows 32-bit extensions."},
    }};
    for (const auto& [known, text] : kTexts) {
        if (known == code) {
            return text;
        }
    }
    return "unknown";
}

std::string shellExecuteLogLine(long code) {
    return "Err: ShellExecute " + std::to_string(code) + " " + shellExecuteErrorText(code);
}

void lookUpInBrowser(const std::string& displayText, const std::string& urlTemplate,
                     UrlOpener& opener, const Log& log) {
    const auto number = lookupNumber(displayText);
    if (number && !opener.openUrl(lookupAddress(urlTemplate, *number))) {
        // The desktop only tells success or failure: taken as "no association".
        log.write(shellExecuteLogLine(31));
    }
}
