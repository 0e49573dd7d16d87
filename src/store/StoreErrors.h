#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace surftally {

// Base of the two failures the core raises; what() is the text shown to the user.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read or written.
class InOutError : public StoreError {
public:
    // code 0 or ENOENT-like "missing" reads as "File not found"; any other as "I/O error N".
    static InOutError fileNotFound();
    static InOutError fromErrno(int code);
    // A Windows error number (GetLastError): ERROR_FILE_NOT_FOUND and ERROR_PATH_NOT_FOUND
    // read as "File not found"; any other as "I/O error N".
    static InOutError fromWin32(unsigned long code);

    int code() const { return code_; }

private:
    InOutError(int code, const std::string& text) : StoreError(text), code_(code) {}
    int code_;
};

// A field that is not a decimal integer (or not a valid value of its kind).
class ConvertError : public StoreError {
public:
    explicit ConvertError(std::string_view offending);

    // The offending text as it appears in the message: control bytes shown as '?', and a
    // very long text cut so that a hostile file cannot flood the message box.
    static std::string shown(std::string_view offending);
};

}  // namespace surftally
