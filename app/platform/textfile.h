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
    explicit TextFileWriter(const std::string& path); // opens for output (overwrites)
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void writeList(const std::vector<FileItem>& items); // "a",1.5,"b"
    void printLine(const std::vector<FileItem>& items); // a 1.5 b
    void printText(const std::string& text);            // the text as it stands, then CR LF
    void close();                                       // raises when the data could not be written

private:
    std::string path_;
    std::ofstream out_;
};

class TextFileReader {
public:
    explicit TextFileReader(const std::string& path); // raises FileNotFound when it cannot open
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool eof() const; // no more characters (trailing blanks/line ends count as none)
    // Line input: the rest of the current line, without its CR LF / LF.
    std::string lineInput();
    // List input of one item: a quoted string (quotes removed, up to the
    // closing quote), or an unquoted item up to the next comma or line end
    // (leading and trailing blanks dropped; a blank also ends an unquoted
    // number). Raises InputPastEnd at the end of the file.
    std::string inputItem();
    float inputSingle();      // inputItem() converted; TypeMismatch on bad text
    double inputDouble();
    int16_t inputInteger();

private:
    int peek() const;
    int get();
    std::string data_;
    std::size_t pos_ = 0;
};

} // namespace kelvara
