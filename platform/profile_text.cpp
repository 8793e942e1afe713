#include "platform/profile_text.h"

#include <QChar>
#include <QStringDecoder>
#include <array>
#include <atomic>
#include <vector>

namespace platform {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

QByteArrayView leftTrimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    return text.sliced(begin);
}

QByteArrayView rightTrimmed(QByteArrayView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.first(end);
}

QByteArrayView trimmed(QByteArrayView text)
{
    return rightTrimmed(leftTrimmed(text));
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// Blanks, quotes, "=", ";" and line breaks are below 0x40 and so never a GBK trail byte; "]" and
// the ASCII letters are, which is why names are walked one character at a time.
qsizetype characterLength(QByteArrayView text, qsizetype at)
{
    const auto lead = static_cast<uchar>(text[at]);
    if (lead >= 0x81 && lead <= 0xFE && at + 1 < text.size()) {
        const auto trail = static_cast<uchar>(text[at + 1]);
        if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F)
            return 2;
    }
    return 1;
}

qsizetype indexOfCharacter(QByteArrayView text, char wanted, qsizetype from)
{
    for (qsizetype at = from; at < text.size(); at += characterLength(text, at)) {
        if (text[at] == wanted)
            return at;
    }
    return -1;
}

// What each GBK character is compared as: its Unicode character folded to one case. Bytes that
// do not decode stand for themselves, above every Unicode value. A pair is decoded the first
// time it is compared: decoding all 24 000 at once cost the program milliseconds at start.
class FoldTable
{
public:
    FoldTable() : m_pairs(0x10000)
    {
        QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            m_singles[byte] = foldedOrZero(decoder, QByteArray(1, char(byte)));
    }

    char32_t unit(QByteArrayView text, qsizetype at, qsizetype length) const
    {
        const auto first = static_cast<uchar>(text[at]);
        if (length == 2) {
            const unsigned code = first << 8 | static_cast<uchar>(text[at + 1]);
            const char32_t folded = pair(code);
            return folded ? folded : 0x110000 + code;
        }
        if (first < 0x80)
            return first >= 'A' && first <= 'Z' ? first + ('a' - 'A') : first;
        return m_singles[first] ? m_singles[first] : 0x110000 + first;
    }

private:
    // Entries: 0 not decoded yet, 1 no Unicode character, else the folded character + 2.
    // Decoding is idempotent, so threads racing on one entry store the same value.
    char16_t pair(unsigned code) const
    {
        std::atomic<quint32>& entry = m_pairs[code];
        quint32 known = entry.load(std::memory_order_relaxed);
        if (known == 0) {
            const unsigned lead = code >> 8;
            const unsigned trail = code & 0xFF;
            if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE || trail == 0x7F)
                return 0;
            thread_local QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
            const char bytes[2] = {char(code >> 8), char(code & 0xFF)};
            known = quint32(foldedOrZero(decoder, QByteArrayView(bytes, 2))) + 2;
            entry.store(known == 2 ? 1 : known, std::memory_order_relaxed);
        }
        return known <= 2 ? 0 : char16_t(known - 2);
    }

    static char16_t foldedOrZero(QStringDecoder& decoder, QByteArrayView bytes)
    {
        // A stateless decoder needs no reset between characters; resetting one drops its
        // converter.
        const QString decoded = decoder(bytes);
        if (decoded.size() != 1 || decoded[0] == QChar::ReplacementCharacter)
            return 0;
        const char32_t folded = QChar::toCaseFolded(decoded[0].unicode());
        return folded <= 0xFFFF ? char16_t(folded) : decoded[0].unicode();
    }

    std::array<char16_t, 256> m_singles{};
    mutable std::vector<std::atomic<quint32>> m_pairs;
};

const FoldTable& foldTable()
{
    static const FoldTable table;
    return table;
}

struct Line
{
    qsizetype begin;
    qsizetype contentEnd; // where the line break starts
    qsizetype end;        // after the line break
};

// CRLF, LF and a lone CR each end a line; the last line may have no break.
class LineReader
{
public:
    explicit LineReader(QByteArrayView text, qsizetype from = 0) : m_text(text), m_at(from) {}

    bool next(Line& line)
    {
        if (m_at >= m_text.size())
            return false;
        line.begin = m_at;
        qsizetype at = m_at;
        while (at < m_text.size() && !isLineBreak(m_text[at]))
            ++at;
        line.contentEnd = at;
        if (at < m_text.size())
            at += (m_text[at] == '\r' && at + 1 < m_text.size() && m_text[at + 1] == '\n') ? 2 : 1;
        line.end = at;
        m_at = at;
        return true;
    }

private:
    QByteArrayView m_text;
    qsizetype m_at;
};

enum class LineKind
{
    Other,
    Header,
    Entry
};

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    QByteArrayView name;     // trimmed
    QByteArrayView rawValue; // everything after the first "="
};

ParsedLine parseLine(QByteArrayView content)
{
    const QByteArrayView text = leftTrimmed(content);
    if (!text.isEmpty() && text.front() == '[') {
        const qsizetype close = indexOfCharacter(text, ']', 1);
        if (close >= 0)
            return {LineKind::Header, trimmed(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (equals >= 0)
        return {LineKind::Entry, trimmed(text.first(equals)), text.sliced(equals + 1)};
    return {};
}

QByteArrayView contentOf(QByteArrayView text, const Line& line)
{
    return text.sliced(line.begin, line.contentEnd - line.begin);
}

struct Section
{
    bool found = false;
    qsizetype headerEnd = 0;    // lines of the section start here
    QByteArrayView headerBreak; // empty for the nameless section and a last line without break
    qsizetype end = 0;          // the next header line, or the end of the text
};

// Lines before the first header form the nameless section; of several sections with one name
// only the first counts.
Section findSection(QByteArrayView text, QByteArrayView name)
{
    const QByteArrayView wanted = trimmed(name);
    Section section;
    section.found = wanted.isEmpty();
    section.end = text.size();
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        const ParsedLine parsed = parseLine(contentOf(text, line));
        if (parsed.kind != LineKind::Header)
            continue;
        if (section.found) {
            section.end = line.begin;
            return section;
        }
        if (sameProfileName(parsed.name, wanted)) {
            section.found = true;
            section.headerEnd = line.end;
            section.headerBreak = text.sliced(line.contentEnd, line.end - line.contentEnd);
        }
    }
    return section;
}

// New lines follow the file's own line breaks.
QByteArrayView lineBreakOf(QByteArrayView text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == '\n')
            return "\n";
        if (text[at] == '\r')
            return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\r\n";
}

bool hasLineBreak(QByteArrayView text)
{
    for (const char c : text) {
        if (isLineBreak(c))
            return true;
    }
    return false;
}

} // namespace

bool sameProfileName(QByteArrayView a, QByteArrayView b)
{
    const FoldTable& table = foldTable();
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype lengthA = characterLength(a, i);
        const qsizetype lengthB = characterLength(b, j);
        if (table.unit(a, i, lengthA) != table.unit(b, j, lengthB))
            return false;
        i += lengthA;
        j += lengthB;
    }
    return i == a.size() && j == b.size();
}

QByteArrayView cutAtCharacter(QByteArrayView text, qsizetype maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype length = characterLength(text, at);
        if (at + length > maxBytes)
            break;
        at += length;
    }
    return text.first(at);
}

std::optional<QByteArrayView> profileValue(QByteArrayView text, QByteArrayView section,
                                           QByteArrayView key)
{
    const std::optional<QByteArrayView> lines = profileSectionLines(text, section);
    return lines ? profileLinesValue(*lines, key) : std::nullopt;
}

QList<ProfileSection> profileSectionList(QByteArrayView text)
{
    QList<ProfileSection> sections{{QByteArrayView(), QByteArrayView()}};
    qsizetype linesStart = 0;
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        const ParsedLine parsed = parseLine(contentOf(text, line));
        if (parsed.kind != LineKind::Header)
            continue;
        sections.last().lines = text.sliced(linesStart, line.begin - linesStart);
        sections.append({parsed.name, QByteArrayView()});
        linesStart = line.end;
    }
    sections.last().lines = text.sliced(linesStart);
    return sections;
}

std::optional<QByteArrayView> profileSectionLines(const QList<ProfileSection>& sections,
                                                  QByteArrayView section)
{
    const QByteArrayView wanted = trimmed(section);
    if (wanted.isEmpty())
        return sections.first().lines;
    for (qsizetype i = 1; i < sections.size(); ++i)
        if (sameProfileName(sections[i].name, wanted))
            return sections[i].lines;
    return std::nullopt;
}

std::optional<QByteArrayView> profileSectionLines(QByteArrayView text, QByteArrayView section)
{
    const Section found = findSection(text, section);
    if (!found.found)
        return std::nullopt;
    return text.sliced(found.headerEnd, found.end - found.headerEnd);
}

std::optional<QByteArrayView> profileLinesValue(QByteArrayView sectionLines, QByteArrayView key)
{
    const QByteArrayView wanted = trimmed(key);
    LineReader lines(sectionLines);
    Line line;
    while (lines.next(line)) {
        const ParsedLine parsed = parseLine(contentOf(sectionLines, line));
        if (parsed.kind == LineKind::Entry && sameProfileName(parsed.name, wanted))
            return unquoted(trimmed(parsed.rawValue));
    }
    return std::nullopt;
}

QList<QByteArray> profileKeyNames(QByteArrayView text, QByteArrayView section, qsizetype blockBytes)
{
    QList<QByteArray> names;
    const Section found = findSection(text, section);
    if (!found.found)
        return names;
    qsizetype used = 0;
    LineReader lines(text.first(found.end), found.headerEnd);
    Line line;
    while (lines.next(line)) {
        const ParsedLine parsed = parseLine(contentOf(text, line));
        if (parsed.kind != LineKind::Entry || parsed.name.startsWith(';'))
            continue;
        used += parsed.name.size() + 1;
        if (used > blockBytes)
            break;
        names.append(parsed.name.toByteArray());
    }
    return names;
}

std::optional<QByteArray> profileWithValue(QByteArrayView text, QByteArrayView section,
                                           QByteArrayView key, QByteArrayView value)
{
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return std::nullopt;
    const QByteArrayView sectionName = trimmed(section);
    const QByteArrayView storedKey = leftTrimmed(key);
    const QByteArrayView storedValue = leftTrimmed(value);
    const QByteArray fileBreak = lineBreakOf(text).toByteArray();

    const QByteArray entry = storedKey.toByteArray() + '=' + storedValue.toByteArray();
    if (parseLine(entry).kind != LineKind::Entry)
        return std::nullopt;

    QByteArray result = text.toByteArray();
    const Section found = findSection(text, sectionName);
    if (!found.found) {
        const QByteArray header = '[' + sectionName.toByteArray() + ']';
        const ParsedLine parsed = parseLine(header);
        if (parsed.kind != LineKind::Header || parsed.name != sectionName)
            return std::nullopt;
        if (!text.isEmpty() && !isLineBreak(text.back()))
            result += fileBreak;
        return result + header + fileBreak + entry + fileBreak;
    }

    const QByteArrayView wanted = trimmed(key);
    qsizetype anchor = found.headerEnd;
    QByteArrayView anchorBreak = found.headerBreak;
    LineReader lines(text.first(found.end), found.headerEnd);
    Line line;
    while (lines.next(line)) {
        const QByteArrayView content = contentOf(text, line);
        const ParsedLine parsed = parseLine(content);
        if (parsed.kind == LineKind::Entry && sameProfileName(parsed.name, wanted)) {
            // Only the value changes; the stored name keeps its spelling and the line its layout.
            qsizetype valueBegin = line.begin + content.indexOf('=') + 1;
            while (valueBegin < line.contentEnd && isBlank(text[valueBegin]))
                ++valueBegin;
            const QByteArray updated =
                content.first(valueBegin - line.begin).toByteArray() + storedValue.toByteArray();
            if (parseLine(updated).kind != LineKind::Entry)
                return std::nullopt;
            return result.replace(valueBegin, line.contentEnd - valueBegin,
                                  storedValue.toByteArray());
        }
        if (!trimmed(content).isEmpty()) {
            anchor = line.end;
            anchorBreak = text.sliced(line.contentEnd, line.end - line.contentEnd);
        }
    }
    // The new line ends as the line before it does, so that a CR of ours never pairs with an LF
    // of the line after it; a last line without a break gets the file's.
    QByteArray inserted;
    if (anchorBreak.isEmpty() && anchor > 0)
        inserted += fileBreak;
    inserted +=
        entry + (anchorBreak.isEmpty() ? QByteArrayView(fileBreak) : anchorBreak).toByteArray();
    return result.insert(anchor, inserted);
}

} // namespace platform
