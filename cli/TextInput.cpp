#include "cli/TextInput.h"

#include "cli/LogScanner.h"
#include "zeno/Exception.h"
#include "zeno/File.h"
#include "zeno/Handle.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

const DWORD PIECE_BYTES = 1 << 20;

enum class Encoding { UNDECIDED, BYTES, UTF16_LITTLE, UTF16_BIG };

// Hands the pieces to the scanner in their encoding; a UTF-16 unit cut by a piece's end waits.
class Decoder {
public:
    explicit Decoder(LogScanner& scanner) : scanner(scanner) {}

    void take(const char* bytes, std::size_t size)
    {
        if (encoding == Encoding::UNDECIDED) {
            start.insert(start.end(), bytes, bytes + size);
            if (start.size() >= 3) {
                decide();
            }
            return;
        }
        if (encoding == Encoding::BYTES) {
            scanner.feed(bytes, size);
            return;
        }
        if (oddByte) {
            const char pair[2] = {pending, size > 0 ? bytes[0] : '\0'};
            if (size == 0) {
                return;
            }
            units(pair, 2);
            ++bytes;
            --size;
            oddByte = false;
        }
        units(bytes, size & ~static_cast<std::size_t>(1));
        if (size % 2 != 0) {
            pending = bytes[size - 1];
            oddByte = true;
        }
    }

    void end()
    {
        if (encoding == Encoding::UNDECIDED) {
            decide();
        }
        scanner.finish();
    }

private:
    void decide()
    {
        const auto startsWith = [this](const char* mark, std::size_t length) {
            return start.size() >= length && std::memcmp(start.data(), mark, length) == 0;
        };
        std::size_t skip = 0;
        encoding = Encoding::BYTES;
        if (startsWith("\xFF\xFE", 2)) {
            encoding = Encoding::UTF16_LITTLE;
            skip = 2;
        } else if (startsWith("\xFE\xFF", 2)) {
            encoding = Encoding::UTF16_BIG;
            skip = 2;
        } else if (startsWith("\xEF\xBB\xBF", 3)) {
            skip = 3;
        }
        std::vector<char> rest(start.begin() + static_cast<std::ptrdiff_t>(skip), start.end());
        start.clear();
        take(rest.data(), rest.size());
    }

    void units(const char* bytes, std::size_t size)
    {
        converted.resize(size / 2);
        const int low = encoding == Encoding::UTF16_LITTLE ? 0 : 1;
        for (std::size_t i = 0; i < converted.size(); ++i) {
            converted[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i + low])
                                                 | static_cast<unsigned char>(bytes[2 * i + 1 - low]) << 8);
        }
        scanner.feedUtf16(converted.data(), converted.size());
    }

    LogScanner& scanner;
    Encoding encoding = Encoding::UNDECIDED;
    std::vector<char> start;
    std::vector<char16_t> converted;
    bool oddByte = false;
    char pending = 0;
};

} // namespace

void scanText(const std::wstring& source, LogScanner& scanner)
{
    const bool standardInput = source == L"-";
    zeno::Handle file(standardInput ? nullptr
                                    : zeno::openFile(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    const HANDLE input = standardInput ? GetStdHandle(STD_INPUT_HANDLE) : file.get();
    const std::wstring name = standardInput ? std::wstring(L"standard input") : source;
    std::vector<char> piece(PIECE_BYTES);
    Decoder decoder(scanner);
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(input, piece.data(), PIECE_BYTES, &count, nullptr)) {
            // A pipe whose writer has closed ends the text like the end of a file.
            if (GetLastError() == ERROR_BROKEN_PIPE) {
                break;
            }
            throw zeno::IOException(L"::ReadFile(" + name + L") failed", GetLastError());
        }
        if (count == 0) {
            break;
        }
        decoder.take(piece.data(), count);
    }
    decoder.end();
    file.close();
}
