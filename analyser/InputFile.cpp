#include "analyser/InputFile.h"

#include "analyser/RespanaError.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace respana {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The offending text, short and printable, so that the message stays one line.
std::string quoted(std::string_view s)
{
    constexpr std::size_t maxShown = 24;
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size() && i < maxShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
    }
    if (s.size() > maxShown)
        out += "...";
    return out + "\"";
}

bool parseNumber(std::string_view s, double &value)
{
    // from_chars takes neither a leading plus nor surrounding blanks, but
    // people who edit a file by hand write both.
    const bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.remove_prefix(1);
    if (s.empty() || (plus && s.front() == '-'))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

struct TFileClose
{
    void operator()(std::FILE *f) const { std::fclose(f); }
};

} // namespace

std::string TInputFile::where(std::size_t row) const
{
    return FFileName + " line " + std::to_string(lineOf(row)) + ": ";
}

TInputFile TInputFile::parse(std::string_view text, const std::string &fileName)
{
    TInputFile file;
    file.FFileName = fileName;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    std::size_t lineNo = 0;
    std::size_t blankLine = 0; // first blank line not yet followed by a row
    while (!text.empty()) {
        ++lineNo;
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        line = trimmed(line);
        if (line.empty()) {
            if (blankLine == 0)
                blankLine = lineNo;
            continue;
        }
        // Rows are counted, not lines; a gap would quietly shift every
        // condition below it, so only trailing blank lines are harmless.
        if (blankLine != 0)
            throw TRespanaError(fileName + " line " + std::to_string(blankLine) + " is empty");

        const std::string here = fileName + " line " + std::to_string(lineNo) + ": ";
        std::array<std::string_view, 3> fields;
        std::size_t count = 0;
        for (std::size_t start = 0;;) {
            const std::size_t comma = line.find(',', start);
            if (count < fields.size())
                fields[count] = trimmed(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
            ++count;
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (count != fields.size())
            throw TRespanaError(here + std::to_string(count) + (count == 1 ? " value" : " values") +
                                " where three comma-separated numbers are expected");

        std::array<double, 3> row{};
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (fields[c].empty())
                throw TRespanaError(here + "column " + std::to_string(c + 1) + " is empty");
            if (fields[c] == "-")
                throw TRespanaError(here + "column " + std::to_string(c + 1) +
                                    " holds \"-\" (a sample that was never read) instead of a number");
            if (!parseNumber(fields[c], row[c]))
                throw TRespanaError(here + quoted(fields[c]) + " in column " + std::to_string(c + 1) + " is not a number");
        }
        file.FRows.push_back(row);
        file.FLines.push_back(lineNo);
    }
    if (file.FRows.empty())
        throw TRespanaError(fileName + " is empty");
    return file;
}

TInputFile TInputFile::read(const std::string &fileName)
{
    // Opening a FIFO without a writer blocks for ever, and a folder or a
    // device is no recording: only a regular file (also behind a link) is read.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0)
        throw TRespanaError("cannot open " + fileName + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw TRespanaError("cannot open " + fileName + ": not a regular file");
    errno = 0;
    std::unique_ptr<std::FILE, TFileClose> f(std::fopen(fileName.c_str(), "rb"));
    if (!f)
        throw TRespanaError("cannot open " + fileName + ": " + std::strerror(errno));

    std::string text;
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, f.get());
        text.append(buffer, got);
        if (text.size() > MaxFileSize)
            throw TRespanaError(fileName + " is larger than " + std::to_string(MaxFileSize >> 20) +
                                " MiB, far more than any recording");
        if (got < sizeof buffer) {
            if (std::ferror(f.get()))
                throw TRespanaError("cannot read " + fileName + ": " + std::strerror(errno));
            break;
        }
    }
    return parse(text, fileName);
}

} // namespace respana
