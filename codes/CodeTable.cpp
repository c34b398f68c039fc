#include "codes/CodeTable.h"

#include "codes/CodeExceptions.h"

void CodeTable::setHeaderPath(const std::wstring& path)
{
    headerFilePath = path;
}

const std::wstring& CodeTable::headerPath() const
{
    return headerFilePath;
}

void CodeTable::add(std::uint32_t value, const std::wstring& name)
{
    byName.insert_or_assign(name, value);
    byValue.insert_or_assign(value, name);
}

std::size_t CodeTable::size() const
{
    return byValue.size();
}

const std::wstring& CodeTable::nameOf(std::uint32_t value) const
{
    auto found = byValue.find(value);
    if (found == byValue.end()) {
        throw EntryNotFoundException();
    }
    return found->second;
}

std::uint32_t CodeTable::valueOf(const std::wstring& name) const
{
    auto found = byName.find(name);
    if (found == byName.end()) {
        throw EntryNotFoundException();
    }
    return found->second;
}

CodeTable::const_iterator CodeTable::begin() const
{
    return byValue.begin();
}

CodeTable::const_iterator CodeTable::end() const
{
    return byValue.end();
}
