#pragma once

#include <functional>
#include <string>
#include <string_view>

/// A small reader of well-formed XML as address books send it: elements by local name (the
/// namespace prefix dropped), text with entities and CDATA resolved. Comments, processing
/// instructions and the document type are skipped. It checks what it needs for that: tags
/// close in order, one root, nothing but blanks outside it.
class XmlScanner {
public:
    struct Handler {
        std::function<void(std::string_view name)> start;
        std::function<void(std::string_view name, const std::string& text)> end;
    };

    /// Walks the document; `end` gets the text directly inside the element. False (and an
    /// error text) when the bytes are not well-formed XML.
    bool scan(std::string_view bytes, const Handler& handler);
    const std::string& error() const { return m_error; }

private:
    bool fail(std::string message);

    std::string m_error;
};

/// Resolves the five named entities and numeric character references into UTF-8; false on an
/// unknown or malformed one.
bool resolveXmlEntities(std::string_view text, std::string& out);
