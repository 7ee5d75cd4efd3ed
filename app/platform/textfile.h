#pragma once
// Sequential text files with the program's conventions. Lines end in CR LF.
// A list-write line quotes every string, separates items by commas and writes
// numbers unpadded in their general text; a print line writes strings
// unquoted and numbers in print form, items separated by blanks. The list
// input reader understands both. Files are closed by the destructor on every
// path; failures raise RuntimeError (FileNotFound, PathNotFound,
// PathFileAccess, InputPastEnd, TypeMismatch).
#include <cstdint>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

namespace kelvara {

// One item of a list-write or print line.
using FileItem = std::variant<std::string, float, double, int>;

class TextFileWriter {
public:
    // Opens for output, replacing an existing file. Raises PathNotFound when
    // the folder does not exist, PathFileAccess when the path is a folder or
    // cannot be written, BadFileName for an empty path. Lines written after
    // close() raise BadFileName.
    //
    // The lines go to a temporary file beside the target, which replaces the
    // target only when it is complete (at close(), or in the destructor when
    // no exception is on its way): a write that fails or is abandoned leaves
    // an existing file as it was and no temporary file behind. A symbolic
    // link is followed (the link stays); a device (the null or full device)
    // is written in place, never replaced; a pipe or socket is refused.
    explicit TextFileWriter(const std::string& path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeList(const std::vector<FileItem>& items); // "a",1.5,"b"
    // Print line: items start at columns 0, 14, 28, ... (at least one blank
    // apart); a number is written with a blank in place of a plus sign and one
    // trailing blank, as " 1.5 ".
    void printLine(const std::vector<FileItem>& items); // a 1.5 b
    void printText(const std::string& text);            // the text as it stands, then CR LF
    void close();                                       // raises when the data could not be written

private:
    void discard() noexcept; // closes and removes the temporary file
    std::string path_;       // the file that receives the data
    std::string temp_;       // the temporary file, empty when written in place
    std::ofstream out_;
    int exceptionsAtOpen_ = 0;
};

class TextFileReader {
public:
    // Reads the whole file (UTF-8; a byte-order mark is skipped) and closes it
    // at once. Raises FileNotFound for a missing file, PathNotFound when its
    // folder does not exist, PathFileAccess when it cannot be read or is not a
    // regular file (a device, a pipe).
    explicit TextFileReader(const std::string& path);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool eof() const; // no more characters (trailing blanks/line ends count as none)
    // Line input: the rest of the current line, without its CR LF / LF.
    std::string lineInput();
    // List input of one item: a quoted string (quotes removed, up to the
    // closing quote or, when it is missing, the line end), or an unquoted item
    // up to the next comma or line end (leading and trailing blanks dropped).
    // After the item, blanks and one comma or one line end are passed over. An
    // empty line is one empty item. Raises InputPastEnd at the end of the file.
    std::string inputItem();
    // Numbers: line ends before the number are passed over (a number may
    // stand on a later line); an unquoted number ends at a blank, a comma or
    // the line end, so print lines read item by item. An empty item (",,")
    // reads as 0; any other text that is not a number raises TypeMismatch, a
    // value out of range Overflow.
    float inputSingle();
    double inputDouble();
    int16_t inputInteger();

private:
    int peek() const;
    int get();
    bool atLineEnd() const;   // at CR, LF or the end of the data
    void skipLineEnd();       // consumes one CR LF, LF or CR
    void skipBlanks();
    void skipDelimiter();     // blanks, then one comma or one line end
    std::string readItem(bool numeric);
    std::string data_;
    std::size_t pos_ = 0;
};

} // namespace kelvara
