#pragma once
// Exclusive locks on result files between processes.
//
// A run holds the lock of every file it writes for as long as it runs, so two
// processes never write the same result or control file. The lock of a file
// `<folder>/<name>` is an operating-system lock on the lock file
// `<folder>/.<name>.lock`; the system releases it when the process ends in any
// way (also kill -9), so a crashed run never blocks the next one. The lock file
// is removed when the lock is released.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class dateisperre {
public:
    // Takes the locks of `dateien` (in path order, so that two runs wanting
    // the same files never wait for each other crosswise), waiting at most
    // `warten` in all for locks that another process holds. Nothing when not
    // every lock could be taken within that time: the locks taken are
    // released and `belegt` (if given) receives the file that was held.
    static std::optional<dateisperre> belege(std::vector<std::filesystem::path> dateien,
                                             std::chrono::milliseconds warten,
                                             std::filesystem::path* belegt = nullptr);

    dateisperre(dateisperre&& andere) noexcept;
    dateisperre& operator=(dateisperre&& andere) noexcept;
    dateisperre(const dateisperre&) = delete;
    dateisperre& operator=(const dateisperre&) = delete;
    ~dateisperre();

    // Releases every lock now (also done by the destructor).
    void freigeben();

    // The lock file of `datei`.
    static std::filesystem::path sperrdatei(const std::filesystem::path& datei);

private:
    struct sperre {
        std::filesystem::path sperrdatei;
        std::intptr_t handle;  // file descriptor, or HANDLE on Windows
    };
    dateisperre() = default;
    std::vector<sperre> sperren_;
};
