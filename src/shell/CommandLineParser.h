#pragma once

#include <QString>
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

    // The switches of an unattended run, which parse() passes over: "-to <path>" (the
    // destination), "-start" and "-profile <n>" (a transcode profile code: 0, 1, 3 or 4).
    struct Unattended
    {
        QString destination;
        bool start = false;
        // -1: not given. profileText keeps a value that is no profile code, for the message.
        int profile = -1;
        QString profileText;
        bool profileValid = true;

        // Both "-to" and "-start" were given: the wizard runs without clicks.
        bool active() const { return start && !destination.isEmpty(); }
    };
    Unattended parseUnattended() const;

private:
    const QStringList& m_arguments;
};
