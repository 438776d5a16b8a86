#pragma once

#include <QString>

// This run's own folder for converted files, inside the temporary folder: "portavo-run-XXXXXX"
// holding a lock file that this process keeps locked (flock) while the folder is open. The
// kernel drops the lock when the process ends, however it ends, so a folder whose lock can be
// taken belongs to a run that is over: the next run removes it. A folder whose lock is held
// belongs to a running wizard and is never touched.
class ConversionFolder
{
public:
    static constexpr const char* kPrefix = "portavo-run-";
    static constexpr const char* kLockName = "run.lock";

    ConversionFolder() = default;
    // Removes the folder with everything in it.
    ~ConversionFolder();

    ConversionFolder(const ConversionFolder&) = delete;
    ConversionFolder& operator=(const ConversionFolder&) = delete;

    // Removes what ended runs left under base, then makes this run's folder there and returns
    // its path. Already open: the folder made before. When no folder can be made: base itself,
    // and nothing is removed later.
    QString open(const QString& base);
    bool isOpen() const { return m_lockFd >= 0; }
    QString path() const { return m_path; }
    // Removes every converted file of this run; the folder stays open.
    void clear();
    // Removes the folder, as the destructor does.
    void close();

    // Removes the run folders under base whose run is over; returns how many.
    static int removeLeftovers(const QString& base);

private:
    QString m_path;
    int m_lockFd = -1;
};
