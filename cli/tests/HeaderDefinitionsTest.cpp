// Every value form and header role the console reads, on small headers with the traps of real
// ones: one text per role, one table of the names that must come out, one list that must not.
#include "cli/HeaderDefinitions.h"
#include "cli/NameCatalog.h"
#include "codes/HeaderScanner.h"
#include "zeno/Exception.h"

#include "zeno/tests/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Role = HeaderDefinitions::Role;

const struct Header {
    const wchar_t* name;
    Role role;
    const char* text;
} HEADERS[] = {
    {L"ntstatus.h", Role::NTSTATUS_HEADER,
     "#define FACILITY_RPC_RUNTIME 0x2\r\n"
     "#define STATUS_SEVERITY_ERROR 0x3\r\n"
     "#define STATUS_WAIT_0 ((NTSTATUS)0x00000000L)\r\n"
     "#define DBG_CONTINUE                     ((NTSTATUS)0x00010002L)    // a comment\r\n"
     "#define RPC_NT_SERVER_UNAVAILABLE ((NTSTATUS)0xC0020017L)\r\n"
     "#define STATUS_BLANK_INSIDE ((NTSTATUS) 0xC0000013L)\r\n"
     "#define STATUS_HRESULT_CAST ((HRESULT)0xC0000014L)\r\n"
     "#define STATUS_TOO_LONG ((NTSTATUS)0x1C0000015L)\r\n"
     "#define STATUS_LAST ((NTSTATUS)0xC0000016L)"},
    {L"winerror.h", Role::WINERROR_HEADER,
     "#define FACILITY_WIN32 7\n"
     "#define FACILITY_WIN32_ALIAS 7\n"
     "#define ERROR_SUCCESS 0L\n"
     "#define NO_ERROR 0L // dderror\n"
     "#define ERROR_COMMENTED 5L /* Access is denied. */\n"
     "#define WSABASEERR 10000\n"
     "#define WSAECONNRESET 10054L\n"
     "#define WSAEINTR (WSABASEERR + 4)\n"
     "#define WSAEBADF\t(WSABASEERR\t+\t9)\t/* a comment after a value of three tokens */\n"
     "#define WSAEACCES (WSABASEERR+13)   /* comment after a computed value */\n"
     "#define EARLY (LATER_BASE+1)\n"
     "#define LATER_BASE 20\n"
     "#define NOT_A_CODE 5\n"
     "#define NOT_DECIMAL 0x5L\n"
     "#define S_OK ((HRESULT)0L)\n"
     "#define SEC_E_OK ((HRESULT)0x00000000L)\n"
     "#define E_FAIL _HRESULT_TYPEDEF_(0x80004005L)\n"
     "#define E_TWICE _HRESULT_TYPEDEF_(0x80000001L)\n"
     "#define E_TWICE _HRESULT_TYPEDEF_(0x80000002L)\n"
     "#define ERROR_NDIS_INTERFACE_CLOSING _NDIS_ERROR_TYPEDEF_(0x80340002L)\n"
     "#define _HRESULT_TYPEDEF_(_sc) ((HRESULT)_sc)\n"
     "#define ERROR_TOO_BIG 4294967296L\n"
     "#define ERROR_LARGEST 4294967295L\n"},
    {L"lmerr.h", Role::LAN_MANAGER_ERRORS,
     "#define NERR_Success            0       /* Success */\r\n"
     "#define NERR_BASE       2100\r\n"
     "#define NERR_UserNotFound (NERR_BASE+121)\r\n"
     "#define NERR_DestIdle (NERR_BASE+58) /* This printer destination is idle. */\r\n"
     "#define NERR_Twice (NERR_BASE+1)\r\n"
     "#define NERR_Twice (NERR_BASE+2)\r\n"
     "#define NERR_Twice (NERR_BASE+2)\r\n"
     "#define MAX_NERR (NERR_BASE+899)\r\n"},
    {L"wininet.h", Role::INTERNET_ERRORS,
     "#define INTERNET_ERROR_BASE 12000\r"
     "#define ERROR_INTERNET_OUT_OF_HANDLES (INTERNET_ERROR_BASE + 1) // no more handles\r"
     "#define INTERNET_FLAG_RELOAD 0x80000000\r"
     "#define ERROR_FTP_DROPPED          (INTERNET_ERROR_BASE + 111)\r"
     "#define INTERNET_ERROR_BASE 13000\r"
     "#define ERROR_HTTP_REBASED (INTERNET_ERROR_BASE + 1)\r"},
    {L"bugcodes.h", Role::BUG_CHECKS,
     "#define KMODE_EXCEPTION_NOT_HANDLED ((ULONG)0x0000001EL)\n"
     "#define BUGCODE_ID_DRIVER ((ULONG)0x000000E7L)\n"
     "#define HARDWARE_PROFILE_DOCKED 1\n"},
};

// Each name that comes out, with its kind and value: several values for one name are several rows.
const std::tuple<CodeKind, const char*, std::uint32_t> NAMES[] = {
    {CodeKind::NTSTATUS, "STATUS_WAIT_0", 0},
    {CodeKind::NTSTATUS, "DBG_CONTINUE", 0x00010002},
    {CodeKind::NTSTATUS, "RPC_NT_SERVER_UNAVAILABLE", 0xC0020017},
    {CodeKind::NTSTATUS, "STATUS_BLANK_INSIDE", 0xC0000013},
    {CodeKind::NTSTATUS, "STATUS_LAST", 0xC0000016},
    {CodeKind::WIN32_ERROR, "ERROR_SUCCESS", 0},
    {CodeKind::WIN32_ERROR, "NO_ERROR", 0},
    {CodeKind::WIN32_ERROR, "ERROR_COMMENTED", 5},
    {CodeKind::WIN32_ERROR, "WSAECONNRESET", 10054},
    {CodeKind::WIN32_ERROR, "WSAEINTR", 10004},
    {CodeKind::WIN32_ERROR, "WSAEBADF", 10009},
    {CodeKind::WIN32_ERROR, "WSAEACCES", 10013},
    {CodeKind::HRESULT_CODE, "S_OK", 0},
    {CodeKind::HRESULT_CODE, "SEC_E_OK", 0},
    {CodeKind::HRESULT_CODE, "E_FAIL", 0x80004005},
    {CodeKind::HRESULT_CODE, "E_TWICE", 0x80000001},
    {CodeKind::WIN32_ERROR, "ERROR_NDIS_INTERFACE_CLOSING", 0x80340002},
    {CodeKind::WIN32_ERROR, "ERROR_LARGEST", 0xFFFFFFFF},
    {CodeKind::WIN32_ERROR, "NERR_Success", 0},
    {CodeKind::WIN32_ERROR, "NERR_UserNotFound", 2221},
    {CodeKind::WIN32_ERROR, "NERR_DestIdle", 2158},
    {CodeKind::WIN32_ERROR, "NERR_Twice", 2101},
    {CodeKind::WIN32_ERROR, "NERR_Twice", 2102},
    {CodeKind::WIN32_ERROR, "ERROR_INTERNET_OUT_OF_HANDLES", 12001},
    {CodeKind::WIN32_ERROR, "ERROR_FTP_DROPPED", 12111},
    {CodeKind::WIN32_ERROR, "ERROR_HTTP_REBASED", 13001},
    {CodeKind::BUG_CHECK, "KMODE_EXCEPTION_NOT_HANDLED", 0x1E},
    {CodeKind::BUG_CHECK, "BUGCODE_ID_DRIVER", 0xE7},
};

// Names that no kind takes.
const char* const NOT_NAMES[] = {"FACILITY_RPC_RUNTIME", "STATUS_SEVERITY_ERROR", "STATUS_HRESULT_CAST",
                                 "STATUS_TOO_LONG", "FACILITY_WIN32", "WSABASEERR", "EARLY", "LATER_BASE",
                                 "NOT_A_CODE", "NOT_DECIMAL", "_HRESULT_TYPEDEF_", "_HRESULT_TYPEDEF_(_sc)",
                                 "ERROR_TOO_BIG", "NERR_BASE", "MAX_NERR", "INTERNET_ERROR_BASE",
                                 "INTERNET_FLAG_RELOAD", "HARDWARE_PROFILE_DOCKED"};

class HeaderDefinitionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isCreated());
        for (const Header& header : HEADERS) {
            const std::wstring path = folder.writeFile(header.name, header.text);
            HeaderDefinitions definitions(catalog, catalog.addHeader(path), header.role);
            scanDefinitions(path, definitions);
        }
    }

    zeno_test::TemporaryDirectory folder;
    NameCatalog catalog;
};

} // namespace

TEST_F(HeaderDefinitionsTest, EachRoleTakesItsFormsAndNothingElse)
{
    std::vector<std::tuple<CodeKind, std::string, std::uint32_t>> read;
    for (const NameCatalog::Name& name : catalog.names()) {
        if (catalog.counts(name)) {
            read.emplace_back(name.kind, std::string(name.text), name.value);
        }
    }
    std::vector<std::tuple<CodeKind, std::string, std::uint32_t>> expected;
    for (const auto& name : NAMES) {
        expected.emplace_back(std::get<0>(name), std::get<1>(name), std::get<2>(name));
    }
    EXPECT_EQ(expected, read);
    for (const char* name : NOT_NAMES) {
        for (CodeKind kind : ALL_CODE_KINDS) {
            EXPECT_TRUE(catalog.valuesNamed(kind, widened(name)).empty()) << name;
        }
    }
}

TEST_F(HeaderDefinitionsTest, AValueListsItsNamesAndANameFindsItsValuesInAnyCase)
{
    const auto names = [this](CodeKind kind, std::uint32_t value) {
        std::vector<std::string> found;
        for (const NameCatalog::Name* name : catalog.namesOf(kind, value)) {
            found.emplace_back(name->text);
            EXPECT_LT(name->header, catalog.headers().size());
        }
        return found;
    };
    EXPECT_EQ((std::vector<std::string>{"ERROR_SUCCESS", "NO_ERROR", "NERR_Success"}), names(CodeKind::WIN32_ERROR, 0));
    EXPECT_EQ((std::vector<std::string>{"S_OK", "SEC_E_OK"}), names(CodeKind::HRESULT_CODE, 0));
    EXPECT_EQ((std::vector<std::string>{"E_TWICE"}), names(CodeKind::HRESULT_CODE, 0x80000001));
    EXPECT_TRUE(names(CodeKind::HRESULT_CODE, 0x80000002).empty());
    EXPECT_EQ(L"lmerr.h", catalog.headers()[catalog.namesOf(CodeKind::WIN32_ERROR, 2221).at(0)->header].fileName);

    EXPECT_EQ((std::vector<std::uint32_t>{0}), catalog.valuesNamed(CodeKind::WIN32_ERROR, L"no_error"));
    EXPECT_EQ((std::vector<std::uint32_t>{2101, 2102}), catalog.valuesNamed(CodeKind::WIN32_ERROR, L"NERR_TWICE"));
    EXPECT_EQ((std::vector<std::uint32_t>{0x80000001}), catalog.valuesNamed(CodeKind::HRESULT_CODE, L"E_TWICE"));
    EXPECT_TRUE(catalog.valuesNamed(CodeKind::NTSTATUS, L"NO_ERROR").empty());

    // The first name of a facility number counts, from the header of its kind.
    EXPECT_EQ("FACILITY_WIN32", catalog.facilityName(CodeKind::HRESULT_CODE, 7));
    EXPECT_EQ("FACILITY_RPC_RUNTIME", catalog.facilityName(CodeKind::NTSTATUS, 2));
    EXPECT_EQ("", catalog.facilityName(CodeKind::NTSTATUS, 7));

    // Per header and kind (NTSTATUS, Win32, HRESULT, bug check), each name once.
    const std::vector<std::vector<std::size_t>> counts = {
        {5, 0, 0, 0}, {0, 9, 4, 0}, {0, 5, 0, 0}, {0, 3, 0, 0}, {0, 0, 0, 2}};
    EXPECT_EQ(counts, catalog.countsPerHeader());
}

TEST_F(HeaderDefinitionsTest, UnreadableHeadersFailAndForeignOnesGiveNoNames)
{
    const std::wstring empty = folder.writeFile(L"empty.h", "");
    const std::wstring binary = folder.writeFile(L"binary.h", std::string("\x7F" "ELF\0\x01#define\0\xFF\xFE", 16)
                                                                  + std::string(5000, '\xA0') + "\n#define X");
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"folder.h").c_str(), nullptr));
    NameCatalog other;
    HeaderDefinitions definitions(other, other.addHeader(binary), Role::WINERROR_HEADER);
    EXPECT_NO_THROW(scanDefinitions(binary, definitions));
    EXPECT_TRUE(other.names().empty());
    try {
        scanDefinitions(empty, definitions);
        ADD_FAILURE() << "an empty header was read";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"::ReadFile(" + empty + L") failed", e.getMessage());
    }
    try {
        scanDefinitions(folder.file(L"folder.h"), definitions);
        ADD_FAILURE() << "a folder was read";
    } catch (const zeno::FileNotFoundException&) {
        ADD_FAILURE() << "a folder is there";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"::CreateFile(" + folder.file(L"folder.h") + L") failed", e.getMessage());
    }
    EXPECT_THROW(scanDefinitions(folder.file(L"missing.h"), definitions), zeno::FileNotFoundException);
}
