#include "platform_seams.h"

#include "hresult_names.h"

#include "msxml_standin.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace ptbridge {

namespace {
std::string DescribeLoadError(const XmlLoadError& loadError, HRESULT hr, const std::string& label) {
    std::string where = label;
    if (loadError.line > 0) {
        where += ":" + std::to_string(loadError.line);
        if (loadError.column > 0)
            where += ":" + std::to_string(loadError.column);
    }
    std::string reason = loadError.message.empty() ? DescribeHResult(hr) : loadError.message;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return where + ": XML error: " + reason;
}

// Reads an open file from where it stands to its end, a piece at a time,
// into a kept text: each piece is read into the text's spare room and handed
// on from there, so the input is held once. Remembers why reading stopped
// early.
class KeptPieces {
  public:
    KeptPieces(int descriptor, std::string* kept) : descriptor_(descriptor), kept_(kept) {}

    bool Next(const char** data, size_t* length) {
        constexpr size_t Piece = 64 * 1024;
        size_t at = kept_->size();
        size_t room = kept_->capacity() - at;
        try {
            kept_->resize(at + (room > 0 && room < Piece ? room : Piece));
        } catch (const std::bad_alloc&) {
            failure_ = ENOMEM;
            return false;
        }
        ssize_t count;
        do
            count = read(descriptor_, &(*kept_)[at], kept_->size() - at);
        while (count < 0 && errno == EINTR);
        kept_->resize(count < 0 ? at : at + static_cast<size_t>(count));
        if (count < 0) {
            failure_ = errno;
            return false;
        }
        *data = kept_->data() + at;
        *length = static_cast<size_t>(count);
        return true;
    }
    // The errno that stopped reading; 0 while nothing did.
    int Failure() const { return failure_; }

  private:
    int descriptor_;
    std::string* kept_;
    int failure_ = 0;
};

// Closes a descriptor the command opened; standard input stays open.
class OpenedInput {
  public:
    explicit OpenedInput(const std::string& path)
        : descriptor_(path == "-" ? STDIN_FILENO
                                  : open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC)),
          owned_(path != "-") {}
    ~OpenedInput() {
        if (owned_ && descriptor_ >= 0)
            close(descriptor_);
    }
    OpenedInput(const OpenedInput&) = delete;
    OpenedInput& operator=(const OpenedInput&) = delete;

    int Descriptor() const { return descriptor_; }

  private:
    int descriptor_;
    bool owned_;
};
} // namespace

bool ParseDocument(const std::string& text, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error) {
    XmlLoadError loadError;
    HRESULT hr = LoadDocumentFromString(text, document->Put(), &loadError, preserveWhiteSpace);
    if (hr == S_OK && *document)
        return true;
    document->Reset();
    *error = DescribeLoadError(loadError, hr, label);
    return false;
}

InputLoad LoadInputDocument(const std::string& path, const std::string& label,
                            bool preserveWhiteSpace, ComPtr<IXMLDOMDocument2>* document,
                            std::string* text, std::string* error) {
    text->clear();
    OpenedInput input(path);
    const std::string shownPath = path == "-" ? "standard input" : "'" + path + "'";
    if (input.Descriptor() < 0) {
        *error = "cannot read " + shownPath + ": " + std::strerror(errno);
        return InputLoad::Unreadable;
    }
    // A regular file tells its size: its text is then kept in one block of
    // that size rather than in one grown by doubling (one byte more, for the
    // read that finds the end).
    struct stat status;
    if (fstat(input.Descriptor(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        try {
            text->reserve(static_cast<size_t>(status.st_size) + 1);
        } catch (const std::bad_alloc&) {
            *error = "cannot read " + shownPath + ": " + std::strerror(ENOMEM);
            return InputLoad::Unreadable;
        }
    }
    KeptPieces pieces(input.Descriptor(), text);
    XmlLoadError loadError;
    HRESULT hr = LoadDocumentFromPieces(
        [&](const char** data, size_t* length) { return pieces.Next(data, length); },
        document->Put(), &loadError, preserveWhiteSpace);
    if (pieces.Failure() != 0) {
        document->Reset();
        *error = "cannot read " + shownPath + ": " + std::strerror(pieces.Failure());
        return InputLoad::Unreadable;
    }
    if (hr == S_OK && *document)
        return InputLoad::Loaded;
    document->Reset();
    *error = DescribeLoadError(loadError, hr, label);
    return InputLoad::NotADocument;
}

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
    text->clear();
    OpenedInput input(path);
    const std::string shownPath = path == "-" ? "standard input" : "'" + path + "'";
    if (input.Descriptor() < 0) {
        *error = "cannot read " + shownPath + ": " + std::strerror(errno);
        return false;
    }
    KeptPieces pieces(input.Descriptor(), text);
    const char* data = nullptr;
    size_t length = 0;
    while (pieces.Next(&data, &length) && length > 0) {
    }
    if (pieces.Failure() != 0) {
        *error = "cannot read " + shownPath + ": " + std::strerror(pieces.Failure());
        return false;
    }
    return true;
}

bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error) {
    HRESULT hr = SaveDocumentToString(document, text);
    if (hr != S_OK) {
        *error = "cannot serialise the document: " + DescribeHResult(hr);
        return false;
    }
    if (text->empty() || text->back() != '\n')
        text->push_back('\n');
    return true;
}

} // namespace ptbridge
