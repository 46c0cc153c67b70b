#include "gpd_reader.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ptbridge {

namespace {
// Files included inside each other deeper than this are taken for a cycle.
constexpr int MaxIncludeDepth = 16;

struct Token {
    enum Kind { Entry, Open, Close, End } kind = End;
    std::string name;  // Entry: the keyword without '*' and ':'
    std::string value; // Entry: the text after the colon, trimmed
    int line = 0;
};

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?';
}

// Splits GPD text into entries and braces, with the line each begins on.
class Tokenizer {
  public:
    Tokenizer(const std::string& text, const std::string& path) : text_(text), path_(path) {}

    // `loose` inside a block the host passes over, whose lines need not be
    // entries (a *Macros block holds "NAME: value" lines): text that is not
    // an entry or a brace is skipped.
    bool Next(Token* token, std::string* error, bool loose = false) {
        SkipBlanksAndComments();
        while (loose && at_ < text_.size() && text_[at_] != '*' && text_[at_] != '{' &&
               text_[at_] != '}') {
            std::string ignored;
            if (!ReadValue(&ignored, error))
                return false;
            SkipBlanksAndComments();
        }
        *token = Token();
        token->line = line_;
        if (at_ >= text_.size())
            return true;
        char c = text_[at_];
        if (c == '{' || c == '}') {
            token->kind = c == '{' ? Token::Open : Token::Close;
            ++at_;
            return true;
        }
        if (c != '*')
            return Fail("expected an entry \"*Name: value\", '{' or '}', found '" +
                            std::string(1, c) + "'",
                        error);
        size_t start = ++at_;
        while (at_ < text_.size() && IsNameCharacter(text_[at_]))
            ++at_;
        token->name = text_.substr(start, at_ - start);
        if (token->name.empty())
            return Fail("expected a name after '*'", error);
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t'))
            ++at_;
        if (at_ >= text_.size() || text_[at_] != ':')
            return Fail("expected ':' after *" + token->name, error);
        ++at_;
        token->kind = Token::Entry;
        return ReadValue(&token->value, error);
    }

    bool Fail(const std::string& expected, std::string* error) const {
        *error = path_ + ":" + std::to_string(line_) + ": " + expected;
        return false;
    }

  private:
    void SkipBlanksAndComments() {
        while (at_ < text_.size()) {
            char c = text_[at_];
            if (c == '\n') {
                ++line_;
                ++at_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\x1A') {
                ++at_;
            } else if (text_.compare(at_, 2, "*%") == 0) {
                at_ = std::min(text_.find('\n', at_), text_.size());
            } else {
                return;
            }
        }
    }

    // The value runs to the end of the line, a comment, a brace or the next
    // entry on the line; a quoted string may hold any of these.
    bool ReadValue(std::string* value, std::string* error) {
        std::string text;
        bool quoted = false;
        for (; at_ < text_.size(); ++at_) {
            char c = text_[at_];
            if (c == '\n')
                break;
            if (c == '"')
                quoted = !quoted;
            else if (!quoted &&
                     (c == '{' || c == '}' || text_.compare(at_, 2, "*%") == 0 ||
                      (c == '*' && !text.empty() && (text.back() == ' ' || text.back() == '\t'))))
                break;
            text += c;
        }
        if (quoted)
            return Fail("expected '\"' to close the quoted string before the end of the line",
                        error);
        *value = Trimmed(text);
        return true;
    }

    const std::string& text_;
    const std::string& path_;
    size_t at_ = 0;
    int line_ = 1;
};

// The text of a value: the inside of a quoted string, or the bare word.
std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

std::string Beside(const std::string& includingPath, const std::string& name) {
    size_t slash = includingPath.find_last_of("/\\");
    if (slash == std::string::npos || name.empty() || name[0] == '/' || name[0] == '\\' ||
        (name.size() > 1 && name[1] == ':'))
        return name;
    return includingPath.substr(0, slash + 1) + name;
}

// Reads one file's entries into the device; an included file gets a parser of
// its own.
class GpdParser {
  public:
    GpdParser(const std::string& text, const std::string& path, const GpdFileReader& readFile,
              int depth, Device* device)
        : tokens_(text, path), path_(path), readFile_(readFile), depth_(depth), device_(device) {}

    bool ReadFile(std::string* error) {
        for (;;) {
            if (!Advance(error))
                return false;
            switch (current_.kind) {
            case Token::End:
                return true;
            case Token::Close:
                return tokens_.Fail("expected an entry: this '}' closes no block", error);
            case Token::Open:
                if (!SkipBlock(error))
                    return false;
                break;
            case Token::Entry:
                if (!RootEntry(error))
                    return false;
                break;
            }
        }
    }

  private:
    bool Advance(std::string* error, bool loose = false) {
        if (pending_) {
            current_ = *pending_;
            pending_.reset();
            return true;
        }
        return tokens_.Next(&current_, error, loose);
    }

    // Whether the entry just read is followed by a block; the block's '{' is
    // then consumed, and *line is the line it stands on.
    bool OpensBlock(bool* opens, int* line, std::string* error) {
        Token next;
        if (!tokens_.Next(&next, error))
            return false;
        *opens = next.kind == Token::Open;
        *line = next.line;
        if (!*opens)
            pending_ = std::make_unique<Token>(next);
        return true;
    }

    // Passes over the rest of a block whose '{' was read, and what it holds.
    bool SkipBlock(std::string* error) {
        const int opened = current_.line;
        for (int depth = 1; depth > 0;) {
            if (!Advance(error, true))
                return false;
            if (current_.kind == Token::End) {
                *error = path_ + ":" + std::to_string(current_.line) +
                         ": expected '}' to close the block opened on line " +
                         std::to_string(opened);
                return false;
            }
            depth += current_.kind == Token::Open ? 1 : current_.kind == Token::Close ? -1 : 0;
        }
        return true;
    }

    // Reads an entry's block when it has one, with `entry` for each entry in it.
    template <typename EntryReader>
    // A block the host passes over is read `loose`ly.
    bool ReadBlock(const std::string& owner, bool required, bool loose, EntryReader entry,
                   std::string* error) {
        bool opens = false;
        int opened = 0;
        if (!OpensBlock(&opens, &opened, error))
            return false;
        if (!opens)
            return required ? tokens_.Fail("expected '{' to open the block of " + owner, error)
                            : true;
        for (;;) {
            if (!Advance(error, loose))
                return false;
            switch (current_.kind) {
            case Token::End:
                *error = path_ + ":" + std::to_string(current_.line) + ": expected '}' to close " +
                         owner + ", opened on line " + std::to_string(opened);
                return false;
            case Token::Close:
                return true;
            case Token::Open:
                if (!SkipBlock(error))
                    return false;
                break;
            case Token::Entry:
                if (!entry(error))
                    return false;
                break;
            }
        }
    }

    bool SkipEntry(std::string* error) {
        return ReadBlock(
            "*" + current_.name, false, true, [this](std::string* e) { return SkipEntry(e); },
            error);
    }

    bool RootEntry(std::string* error) {
        if (current_.name == "Feature")
            return FeatureEntry(error);
        if (current_.name == "PrintSchemaPrivateNamespaceURI") {
            device_->privateNamespace = Unquoted(current_.value);
            return SkipEntry(error);
        }
        if (current_.name == "Include")
            return IncludeEntry(error);
        return SkipEntry(error);
    }

    bool FeatureEntry(std::string* error) {
        const std::string keyword = Unquoted(current_.value);
        if (keyword.empty())
            return tokens_.Fail("expected a feature keyword after *Feature:", error);
        auto found = std::find_if(device_->features.begin(), device_->features.end(),
                                  [&](const DeviceFeature& f) { return f.keyword == keyword; });
        // A feature given again adds to the first entry, as GPD files are read.
        if (found == device_->features.end()) {
            device_->features.push_back({keyword, "", "", {}, Place()});
            found = device_->features.end() - 1;
        }
        const size_t index = static_cast<size_t>(found - device_->features.begin());
        return ReadBlock(
            "*Feature: " + keyword, true, false,
            [this, index](std::string* e) { return FeatureMember(index, e); }, error);
    }

    bool FeatureMember(size_t index, std::string* error) {
        if (current_.name == "Option")
            return OptionEntry(index, error);
        DeviceFeature& feature = device_->features[index];
        if (current_.name == "DefaultOption") {
            feature.defaultOption = Unquoted(current_.value);
            defaultPlaces_.push_back({index, Place()});
        } else if (current_.name == "PrintSchemaKeywordMap") {
            feature.keywordMap = Unquoted(current_.value);
        }
        return SkipEntry(error);
    }

    bool OptionEntry(size_t featureIndex, std::string* error) {
        const std::string keyword = Unquoted(current_.value);
        if (keyword.empty())
            return tokens_.Fail("expected an option keyword after *Option:", error);
        std::vector<DeviceOption>& options = device_->features[featureIndex].options;
        auto found = std::find_if(options.begin(), options.end(),
                                  [&](const DeviceOption& o) { return o.keyword == keyword; });
        if (found == options.end()) {
            options.push_back({keyword, ""});
            found = options.end() - 1;
        }
        const size_t index = static_cast<size_t>(found - options.begin());
        return ReadBlock(
            "*Option: " + keyword, true, false,
            [this, featureIndex, index](std::string* e) {
                if (current_.name == "PrintSchemaKeywordMap")
                    device_->features[featureIndex].options[index].keywordMap =
                        Unquoted(current_.value);
                return SkipEntry(e);
            },
            error);
    }

    bool IncludeEntry(std::string* error) {
        const std::string name = Unquoted(current_.value);
        if (name.empty())
            return tokens_.Fail("expected a file name after *Include:", error);
        if (depth_ >= MaxIncludeDepth)
            return tokens_.Fail("*Include: \"" + name + "\" nests includes more than " +
                                    std::to_string(MaxIncludeDepth) +
                                    " deep: expected files that do not include each other",
                                error);
        const std::string place = Place();
        const std::string path = Beside(path_, name);
        std::string text;
        std::string readError;
        if (!readFile_(path, &text, &readError)) {
            device_->warnings.push_back(place + ": *Include: \"" + name +
                                        "\" was skipped: " + readError);
            return SkipEntry(error);
        }
        GpdParser included(text, path, readFile_, depth_ + 1, device_);
        return included.ReadFile(error) && included.CheckDefaults(error) && SkipEntry(error);
    }

  public:
    // Every *DefaultOption read in this file names an option of its feature.
    bool CheckDefaults(std::string* error) const {
        for (const auto& [index, place] : defaultPlaces_) {
            const DeviceFeature& feature = device_->features[index];
            bool known = std::any_of(
                feature.options.begin(), feature.options.end(),
                [&](const DeviceOption& o) { return o.keyword == feature.defaultOption; });
            if (known)
                continue;
            std::string options;
            for (const DeviceOption& option : feature.options)
                options += (options.empty() ? "" : ", ") + option.keyword;
            *error = place + ": expected *DefaultOption to name an option of " + feature.keyword +
                     (options.empty() ? ", which has none" : " (" + options + ")") + ", found '" +
                     feature.defaultOption + "'";
            return false;
        }
        return true;
    }

  private:
    std::string Place() const { return path_ + ":" + std::to_string(current_.line); }

    Tokenizer tokens_;
    const std::string& path_;
    const GpdFileReader& readFile_;
    const int depth_;
    Device* device_;
    Token current_;
    std::unique_ptr<Token> pending_; // read ahead to see whether a block follows
    std::vector<std::pair<size_t, std::string>> defaultPlaces_;
};
} // namespace

bool ReadGpd(const std::string& text, const std::string& path, const GpdFileReader& readFile,
             Device* device, std::string* error) {
    Device read;
    read.source = path;
    GpdParser parser(text, path, readFile, 0, &read);
    if (!parser.ReadFile(error) || !parser.CheckDefaults(error))
        return false;
    for (DeviceFeature& feature : read.features) {
        if (!feature.defaultOption.empty() || feature.options.empty())
            continue;
        feature.defaultOption = feature.options.front().keyword;
        read.warnings.push_back(feature.place + ": *Feature: " + feature.keyword +
                                " has no *DefaultOption; the host selects its first option, " +
                                feature.defaultOption);
    }
    *device = std::move(read);
    return true;
}

} // namespace ptbridge
