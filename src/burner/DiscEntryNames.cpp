#include "DiscEntryNames.h"

#include <QString>

#include <set>

namespace {

QString Folded(const std::u16string& name)
{
    return QString::fromStdU16String(name).toCaseFolded();
}

std::u16string Numbered(const std::u16string& name, int number)
{
    const size_t dot = name.rfind(u'.');
    // A leading dot starts a hidden name, not an extension.
    const bool hasExtension = dot != std::u16string::npos && dot > 0;
    const std::u16string stem = hasExtension ? name.substr(0, dot) : name;
    const std::u16string extension = hasExtension ? name.substr(dot) : std::u16string();
    return stem + u" (" + QString::number(number).toStdU16String() + u")" + extension;
}

} // namespace

std::u16string DiscEntryNames::BaseName(const std::u16string& path)
{
    const size_t cut = path.rfind(u'/');
    return cut == std::u16string::npos ? path : path.substr(cut + 1);
}

std::vector<std::u16string> DiscEntryNames::Unique(const std::vector<std::u16string>& paths)
{
    std::vector<std::u16string> names;
    std::set<QString> taken;
    for (const std::u16string& path : paths) {
        std::u16string name = BaseName(path);
        for (int number = 2; taken.count(Folded(name)); ++number)
            name = Numbered(BaseName(path), number);
        taken.insert(Folded(name));
        names.push_back(name);
    }
    return names;
}
