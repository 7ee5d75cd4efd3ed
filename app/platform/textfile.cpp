#include "platform/textfile.h"

#include <unistd.h>

#include <atomic>
#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"

namespace kelvara {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLineEnd = kCrLf;
constexpr int kPrintZone = 14; // print items start at multiples of this column

// Raises the error a missing folder, a folder given as a file name or an
// empty name deserve; returns quietly when the path can be tried.
void checkPathForOpen(const std::string& path) {
    if (path.empty()) raise(ErrorCode::BadFileName);
    const fs::path p = fs::path(path);
    std::error_code ec;
    if (fs::is_directory(p, ec)) raise(ErrorCode::PathFileAccess);
    const fs::path parent = p.parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) raise(ErrorCode::PathNotFound);
}

std::string numberText(const FileItem& item) {
    if (const auto* f = std::get_if<float>(&item)) return GeneralText(*f);
    if (const auto* d = std::get_if<double>(&item)) return GeneralText(*d);
    return std::to_string(std::get<int>(item));
}

bool isNegative(const FileItem& item) {
    if (const auto* f = std::get_if<float>(&item)) return *f < 0.0f;
    if (const auto* d = std::get_if<double>(&item)) return *d < 0.0;
    if (const auto* i = std::get_if<int>(&item)) return *i < 0;
    return false;
}

// Characters on screen, not bytes: UTF-8 continuation bytes do not count.
int displayWidth(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0u) != 0x80u) ++n;
    return n;
}

bool isBlank(int c) { return c == ' ' || c == '\t'; }

} // namespace

// ---------------------------------------------------------------- writer

namespace {

// A name in the folder of `target` that no other writer of this process
// uses; short, so that a target name of full length still has one.
std::string temporaryNameBeside(const fs::path& target) {
    static std::atomic<unsigned> serial{0};
    const std::string name = ".kelvara-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
    return (target.parent_path() / name).string();
}

} // namespace

TextFileWriter::TextFileWriter(const std::string& path)
    : path_(path), exceptionsAtOpen_(std::uncaught_exceptions()) {
    checkPathForOpen(path);
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) raise(ErrorCode::PathFileAccess);
        target = resolved;
        if (fs::is_directory(target, ec)) raise(ErrorCode::PathFileAccess);
    }
    path_ = target.string();
    const fs::file_status status = fs::status(target, ec);
    // A device (the null device, a full device) is written in place; a pipe
    // or socket, which would wait for a reader, is refused.
    const bool inPlace = fs::exists(status) && !fs::is_regular_file(status);
    if (inPlace && !fs::is_character_file(status)) raise(ErrorCode::PathFileAccess);
    // A file that may not be written is not replaced either.
    if (fs::exists(status) && ::access(path_.c_str(), W_OK) != 0) raise(ErrorCode::PathFileAccess);
    if (!inPlace) temp_ = temporaryNameBeside(target);
    out_.open(fs::path(inPlace ? path_ : temp_), std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out_.is_open()) {
        discard();
        raise(ErrorCode::PathFileAccess);
    }
    // The file that replaces an existing one keeps its permissions.
    if (!inPlace && fs::exists(status)) fs::permissions(fs::path(temp_), status.permissions(), ec);
}

TextFileWriter::~TextFileWriter() {
    if (!out_.is_open()) return;
    if (std::uncaught_exceptions() > exceptionsAtOpen_) {
        discard(); // abandoned: the target keeps what it held
        return;
    }
    try {
        close(); // never throws from here; a failure leaves the target as it was
    } catch (...) {
    }
}

void TextFileWriter::discard() noexcept {
    if (out_.is_open()) out_.close();
    if (!temp_.empty()) {
        std::error_code ec;
        fs::remove(fs::path(temp_), ec);
        temp_.clear();
    }
}

void TextFileWriter::writeList(const std::vector<FileItem>& items) {
    std::string line;
    bool first = true;
    for (const auto& item : items) {
        if (!first) line += ',';
        first = false;
        if (const auto* s = std::get_if<std::string>(&item)) {
            line += '"';
            line += *s;
            line += '"';
        } else {
            line += numberText(item);
        }
    }
    printText(line);
}

void TextFileWriter::printLine(const std::vector<FileItem>& items) {
    std::string line;
    int column = 0;
    bool first = true;
    for (const auto& item : items) {
        if (!first) {
            // Next print zone; at least one blank between two items.
            int next = (column / kPrintZone + 1) * kPrintZone;
            if (next - column < 1) next += kPrintZone;
            line.append(static_cast<std::size_t>(next - column), ' ');
            column = next;
        }
        first = false;
        std::string text;
        if (const auto* s = std::get_if<std::string>(&item)) {
            text = *s;
        } else {
            // Print form: a blank in place of the sign of a positive number,
            // the number, one trailing blank.
            if (!isNegative(item)) text.push_back(' ');
            text += numberText(item);
            text.push_back(' ');
        }
        line += text;
        column += displayWidth(text);
    }
    printText(line);
}

void TextFileWriter::printText(const std::string& text) {
    if (!out_.is_open()) raise(ErrorCode::BadFileName);
    out_ << text << kLineEnd;
    if (!out_) raise(ErrorCode::PathFileAccess);
}

void TextFileWriter::close() {
    if (!out_.is_open()) return;
    out_.flush();
    const bool ok = static_cast<bool>(out_);
    out_.close();
    if (!ok || out_.fail()) {
        discard();
        raise(ErrorCode::PathFileAccess);
    }
    if (temp_.empty()) return;
    std::error_code ec;
    fs::rename(fs::path(temp_), fs::path(path_), ec);
    if (ec) {
        discard();
        raise(ErrorCode::PathFileAccess);
    }
    temp_.clear();
}

// ---------------------------------------------------------------- reader

TextFileReader::TextFileReader(const std::string& path) {
    checkPathForOpen(path);
    const fs::path p = fs::path(path);
    std::error_code ec;
    // Only regular files are read: a pipe would wait for a writer, a device
    // such as the zero device would never end.
    const fs::file_status status = fs::status(p, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) raise(ErrorCode::PathFileAccess);
    std::ifstream in(p, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        if (!fs::exists(p, ec)) raise(ErrorCode::FileNotFound);
        raise(ErrorCode::PathFileAccess);
    }
    // Read in blocks: a read error (a file that cannot be read although it
    // opens) sets the bad bit and is reported rather than taken as the end.
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        data_.append(block, static_cast<std::size_t>(in.gcount()));
        if (in.eof()) break;
    }
    if (in.bad()) raise(ErrorCode::PathFileAccess);
    // A UTF-8 byte-order mark is not part of the text.
    if (data_.size() >= 3 && data_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
}

TextFileReader::~TextFileReader() = default; // the file was read whole and closed on opening

int TextFileReader::peek() const {
    return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_]) : -1;
}

int TextFileReader::get() {
    const int c = peek();
    if (c >= 0) ++pos_;
    return c;
}

bool TextFileReader::atLineEnd() const {
    const int c = peek();
    return c < 0 || c == '\r' || c == '\n';
}

void TextFileReader::skipLineEnd() {
    const int c = peek();
    if (c == '\r') {
        ++pos_;
        if (peek() == '\n') ++pos_;
    } else if (c == '\n') {
        ++pos_;
    }
}

void TextFileReader::skipBlanks() {
    while (isBlank(peek())) ++pos_;
}

void TextFileReader::skipDelimiter() {
    skipBlanks();
    if (peek() == ',') {
        ++pos_;
    } else if (atLineEnd()) {
        skipLineEnd();
    }
}

bool TextFileReader::eof() const {
    for (std::size_t k = pos_; k < data_.size(); ++k) {
        const char c = data_[k];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

std::string TextFileReader::lineInput() {
    if (pos_ >= data_.size()) raise(ErrorCode::InputPastEnd);
    std::string line;
    while (!atLineEnd()) line.push_back(static_cast<char>(get()));
    skipLineEnd();
    return line;
}

std::string TextFileReader::readItem(bool numeric) {
    skipBlanks();
    if (numeric) {
        // A number may stand on a later line: line ends before it are skipped.
        while (peek() == '\r' || peek() == '\n' || isBlank(peek())) ++pos_;
    }
    if (pos_ >= data_.size()) raise(ErrorCode::InputPastEnd);

    std::string item;
    if (peek() == '"') {
        ++pos_;
        while (!atLineEnd() && peek() != '"') item.push_back(static_cast<char>(get()));
        if (peek() == '"') ++pos_; // an unclosed quote ends at the line end
        skipDelimiter();
        return item;
    }
    if (numeric) {
        while (!atLineEnd() && peek() != ',' && !isBlank(peek())) item.push_back(static_cast<char>(get()));
        skipDelimiter();
        return item;
    }
    while (!atLineEnd() && peek() != ',') item.push_back(static_cast<char>(get()));
    while (!item.empty() && isBlank(static_cast<unsigned char>(item.back()))) item.pop_back();
    if (peek() == ',') {
        ++pos_;
    } else {
        skipLineEnd();
    }
    return item;
}

std::string TextFileReader::inputItem() { return readItem(false); }

// An empty item (two commas in a row) reads as zero, as list input always did.
float TextFileReader::inputSingle() {
    const std::string item = readItem(true);
    return item.empty() ? 0.0f : ToSingle(item);
}

double TextFileReader::inputDouble() {
    const std::string item = readItem(true);
    return item.empty() ? 0.0 : ToDouble(item);
}

int16_t TextFileReader::inputInteger() {
    const std::string item = readItem(true);
    return item.empty() ? int16_t{0} : ToInteger(item);
}

} // namespace kelvara
