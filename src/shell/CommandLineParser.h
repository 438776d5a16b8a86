#pragma once

#include <QStringList>

// Reads the switches a launcher passes to the wizard: "-xfer" (required), "-id <n>" (required),
// "-file <url>" (repeatable) and "-activationvideo". Switches are matched case-insensitively;
// the values that follow them keep their case.
class CommandLineParser
{
public:
    // The list is referred to, not copied: it must outlive the parser. The program path must
    // already be removed.
    explicit CommandLineParser(const QStringList& arguments);

    // True when "-xfer" was seen and at least one "-id" carried a valid unsigned decimal
    // number. On false the outputs are at their defaults (no files, 0, false).
    bool parse(QStringList& files, unsigned int& deviceId, bool& activationFiles) const;

private:
    const QStringList& m_arguments;
};
