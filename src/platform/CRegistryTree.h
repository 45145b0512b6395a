#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "RegValue.h"

// The keys and values of one registry root, as held in its REGEDIT4 text file. Key paths
// are relative to the root ("Software\Quillmoor\..."); key and value names match without
// regard to case and keep the spelling they were first written with.
class CRegistryTree
{
public:
    // Replaces the tree by the contents of a root's file. Returns true when every line was
    // understood; whatever could be understood is loaded either way, and a false result
    // means that writing the tree back would lose something of the file.
    bool LoadText(std::string_view text, std::string_view rootName);
    std::string ToText(std::string_view rootName) const;

    const RegValue* FindValue(std::string_view keyPath, std::string_view valueName) const;

    // Create the key when it is missing. False, with nothing changed, when the key path or
    // value name cannot be stored. A string ends at its first zero byte, as a REG_SZ does.
    bool SetString(std::string_view keyPath, std::string_view valueName, std::string_view value);
    bool SetDword(std::string_view keyPath, std::string_view valueName, uint32_t value);

    size_t KeyCount() const { return m_aKeys.size(); }

    // The path as stored: one trailing backslash is dropped, as the Windows registry drops
    // it; an empty path or an empty component is refused.
    static std::optional<std::string> NormalizeKeyPath(std::string_view keyPath);
    static bool IsStorableValueName(std::string_view valueName);

private:
    struct Key
    {
        std::string strPath;
        std::vector<RegValue> aValues;
        std::unordered_map<std::string, size_t> mapValues; // lower-case name -> index
    };

    const Key* FindKey(std::string_view normalizedPath) const;
    size_t CreateKey(const std::string& normalizedPath);
    bool Put(std::string_view keyPath, RegValue value);
    static void PutInto(Key& key, RegValue value);
    bool LoadValueLine(std::string_view line, std::string_view text, size_t& nextLine,
                       size_t keyIndex, bool& bLenient);

    std::vector<Key> m_aKeys;
    std::unordered_map<std::string, size_t> m_mapKeys; // lower-case path -> index
};
