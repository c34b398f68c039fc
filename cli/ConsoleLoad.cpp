#include "cli/ConsoleLoad.h"

#include "cli/HeaderDefinitions.h"
#include "cli/HeaderLocation.h"
#include "codes/HeaderScanner.h"
#include "zeno/Exception.h"
#include "zeno/ManagedThread.h"

#include <memory>
#include <string_view>
#include <utility>

namespace {

using Role = HeaderDefinitions::Role;

const struct ExtraHeader {
    const wchar_t* name;
    bool inUserModeFolder;      // ..\um\ in the SDK's layout
    Role role;
    const wchar_t* textModule;
} EXTRA_HEADERS[] = {
    {L"lmerr.h", false, Role::LAN_MANAGER_ERRORS, L"netmsg.dll"},
    {L"bugcodes.h", false, Role::BUG_CHECKS, nullptr},
    {L"wininet.h", true, Role::INTERNET_ERRORS, L"wininet.dll"},
    {L"winhttp.h", true, Role::INTERNET_ERRORS, L"winhttp.dll"},
};

void readExtraHeaders(NameCatalog& catalog, const std::wstring& ntStatusPath)
{
    const std::wstring folder = ntStatusPath.substr(0, ntStatusPath.find_last_of(L"\\/") + 1);
    for (const ExtraHeader& extra : EXTRA_HEADERS) {
        std::wstring candidates[] = {folder + (extra.inUserModeFolder ? L"..\\um\\" : L"") + extra.name,
                                     extra.inUserModeFolder ? folder + extra.name : std::wstring()};
        for (const std::wstring& path : candidates) {
            if (path.empty()) {
                continue;
            }
            HeaderDefinitions definitions(catalog, catalog.addHeader(path, extra.textModule), extra.role);
            try {
                scanDefinitions(path, definitions);
            } catch (const zeno::FileNotFoundException&) {
                catalog.removeLastHeader();
                continue;
            }
            break;
        }
    }
}

} // namespace

ConsoleLoad::ConsoleLoad(LoadSequence::PhaseListener phaseListener) : listener(std::move(phaseListener)) {}

void ConsoleLoad::run(const HeaderLocation& location)
{
    LoadSequence load(ntStatusTable, win32Table, reverseMap);
    load.reportPhasesTo(listener);
    // The catalog learns each header's path once the sequence has it, before the scan.
    class Definitions : public DefinitionListener {
    public:
        Definitions(NameCatalog& catalog, const CodeTable& table, Role role) : catalog(catalog), table(table), role(role)
        {
        }
        void definition(const Definition& definition) override
        {
            if (!reader) {
                reader = std::make_unique<HeaderDefinitions>(catalog, catalog.addHeader(table.headerPath()), role);
            }
            reader->definition(definition);
        }

    private:
        NameCatalog& catalog;
        const CodeTable& table;
        Role role;
        std::unique_ptr<HeaderDefinitions> reader;
    };
    Definitions ntStatusDefinitions(catalog, ntStatusTable, Role::NTSTATUS_HEADER);
    Definitions win32Definitions(catalog, win32Table, Role::WINERROR_HEADER);
    load.reportDefinitionsTo(&ntStatusDefinitions, &win32Definitions);
    // Declared before the thread, so that it outlives it on every path: the thread's destructor
    // waits for it when a main header fails.
    NameCatalog extras;
    std::unique_ptr<zeno::ManagedThread> extraReader;
    load.reportHeadersTo([&extras, &extraReader](const std::wstring& ntStatusPath, const std::wstring&) {
        extraReader = std::make_unique<zeno::ManagedThread>(
            [&extras, ntStatusPath] { readExtraHeaders(extras, ntStatusPath); });
    });
    if (location.sdkFolder.empty()) {
        load.run(location.configPath);
    } else {
        load.runOnHeaders(location.sdkFolder + L"ntstatus.h", location.sdkFolder + L"winerror.h");
    }
    extraReader->join();
    catalog.takeOver(extras);
    if (listener) {
        listener(L"other headers");
    }
}
