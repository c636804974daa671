#include "core/dat/clrmamepro_syntax.h"

#include "core/dat/dat_game.h"
#include "core/dat/dat_text.h"
#include "core/text/printable.h"

namespace gamarium::dat {
namespace {

// Real files nest three deep (game, rom); more is a damaged file, and the
// limit keeps the reader's recursion small.
constexpr int kDeepest = 16;

enum class Kind { End, Open, Close, Word, Quoted };

struct Token {
    Kind kind = Kind::End;
    std::string text;
    int line = 0;
};

std::string shown(const Token& token) {
    switch (token.kind) {
    case Kind::End: return "конец файла";
    case Kind::Open: return "«(»";
    case Kind::Close: return "«)»";
    default: break;
    }
    return text::quoted(token.text);
}

// Tokens from the stream, read a chunk at a time.
class Lexer {
public:
    Lexer(std::istream& in, int firstLine) : in_(in), chunk_(kChunk, '\0'), line_(firstLine) { skipByteOrderMark(); }

    Token next() {
        int c = skipSpace();
        Token token;
        token.line = line_;
        if (c == EOF) return token;
        if (c == '(' || c == ')') {
            take();
            token.kind = c == '(' ? Kind::Open : Kind::Close;
        } else if (c == '"') {
            take();
            token.kind = Kind::Quoted;
            readQuoted(token);
        } else {
            token.kind = Kind::Word;
            appendRun(token.text, [](char c) { return !isSpace(c) && c != '(' && c != ')' && c != '"'; });
        }
        // Text ends at a NUL byte or a control character wherever it stands:
        // a binary file is refused at its first one.
        checkIsText(token.text, token.line);
        return token;
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;

    static bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    bool refill() {
        in_.read(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
        if (in_.bad()) throw Error("файл не читается");
        at_ = 0;
        end_ = static_cast<std::size_t>(in_.gcount());
        return end_ > 0;
    }

    int peek() {
        if (at_ == end_ && !refill()) return EOF;
        return static_cast<unsigned char>(chunk_[at_]);
    }

    int take() {
        const int c = peek();
        if (c == EOF) return c;
        ++at_;
        if (c == '\n') ++line_;
        return c;
    }

    // Appends the characters from here on that `belongs` takes (none of
    // them a line end).
    template <typename Belongs>
    void appendRun(std::string& text, Belongs belongs) {
        while (peek() != EOF) {
            const std::size_t start = at_;
            while (at_ < end_ && belongs(chunk_[at_])) ++at_;
            text.append(chunk_.data() + start, at_ - start);
            if (at_ < end_) return;
        }
    }

    int skipSpace() {
        int c = peek();
        while (c != EOF && isSpace(c)) {
            take();
            c = peek();
        }
        return c;
    }

    void skipByteOrderMark() {
        for (const unsigned char mark : {0xEF, 0xBB, 0xBF}) {
            if (peek() != mark) return;
            take();
        }
    }

    // A quoted text ends on its line: a line end or the file's end before
    // the closing quote is an unclosed quote, named at the line it opened.
    void readQuoted(Token& token) {
        for (;;) {
            appendRun(token.text, [](char c) { return c != '"' && c != '\\' && c != '\n' && c != '\r'; });
            int c = take();
            if (c == '"') return;
            if (c == '\\') {
                const int escaped = peek();
                if (escaped == '"' || escaped == '\\') {
                    c = take();
                } else {
                    token.text += '\\';
                    continue;
                }
            }
            if (c == EOF || c == '\n' || c == '\r') throw DamagedDat(token.line, "кавычка не закрыта");
            token.text += static_cast<char>(c);
        }
    }

    std::istream& in_;
    std::string chunk_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    int line_;
};

void readItems(Lexer& lexer, ClrItem& block, int depth) {
    for (;;) {
        Token key = lexer.next();
        if (key.kind == Kind::Close) return;
        if (key.kind == Kind::End)
            throw DamagedDat(block.line, "скобка «(» блока " + text::quoted(block.key) + " не закрыта до конца файла");
        if (key.kind != Kind::Word) throw DamagedDat(key.line, "ожидалось имя поля, а стоит " + shown(key));
        Token value = lexer.next();
        ClrItem item;
        item.key = std::move(key.text);
        item.line = key.line;
        if (value.kind == Kind::Word || value.kind == Kind::Quoted) {
            item.value = std::move(value.text);
        } else if (value.kind == Kind::Open) {
            if (depth >= kDeepest) throw DamagedDat(value.line, "слишком глубоко вложенные скобки");
            item.block = true;
            item.items.reserve(8); // a ROM's name, size, CRC, MD5, SHA-1 and a few more
            readItems(lexer, item, depth + 1);
        } else {
            throw DamagedDat(item.line, "у поля " + text::quoted(item.key) + " нет значения (стоит " + shown(value) + ")");
        }
        block.items.push_back(std::move(item));
    }
}

} // namespace

void readClrmameproBlocks(std::istream& in, int firstLine, const std::function<void(const ClrItem& block)>& visit) {
    if (!in.rdbuf()) return;
    Lexer lexer(in, firstLine);
    ClrItem block;
    block.block = true;
    for (;;) {
        Token name = lexer.next();
        if (name.kind == Kind::End) return;
        if (name.kind != Kind::Word) throw DamagedDat(name.line, "ожидалось имя блока, а стоит " + shown(name));
        const Token open = lexer.next();
        if (open.kind != Kind::Open)
            throw DamagedDat(open.line, "после " + text::quoted(name.text) + " ожидалась «(», а стоит " + shown(open));
        block.key = std::move(name.text);
        block.line = name.line;
        block.items.clear(); // keeps its room for the next block
        readItems(lexer, block, 1);
        visit(block);
    }
}

} // namespace gamarium::dat
