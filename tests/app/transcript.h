// What a driven copy of the program writes (program_driver.h) and how it is read back.
#pragma once

#include <string>
#include <vector>

// Values are written on one line: backslash, CR, LF and tab are escaped.
std::string escapeValue(const std::string& value);
std::string unescapeValue(const std::string& value);

// One message box as the program showed it, and how it was answered.
struct DialogSeen {
    std::string icon;  // question, information, warning, error, none
    std::string title;
    std::string text;     // as the box shows it (line breaks as LF)
    std::string buttons;  // captions in order, joined by '|'
    std::string defaultButton;
    std::string escapeButton;
    std::string centred;     // "1" when centred on the screen
    std::string modal;       // "1" when modal
    std::string linesWhole;  // "1" when no line of the text had to be wrapped
    std::string answer;

    std::string encode() const;
    static DialogSeen decode(const std::string& line);
};
