#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

// The file types the engine reads (filter name -> patterns), asked of the engine only when a
// page first needs them: answering loads the media libraries, which the first pages do not use.
class EngineFileTypes
{
public:
    using Map = std::map<std::string, std::string>;

    void set(Map types)
    {
        m_types = std::move(types);
        m_source = nullptr;
    }
    void setSource(std::function<Map()> source)
    {
        m_types.reset();
        m_source = std::move(source);
    }

    const Map& get() const
    {
        if (!m_types)
            m_types = m_source ? m_source() : Map();
        return *m_types;
    }
    operator const Map&() const { return get(); }
    Map::const_iterator begin() const { return get().begin(); }
    Map::const_iterator end() const { return get().end(); }

private:
    mutable std::optional<Map> m_types;
    std::function<Map()> m_source;
};
