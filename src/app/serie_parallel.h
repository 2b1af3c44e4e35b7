#pragma once
// A batch computed by several workers: threads of this process, or worker
// processes.
//
// The parent keeps the list of data sets and starts up to N workers at a
// time, one per data set. A thread computes its data set in a run state and
// a database session of its own. A worker process is the runner itself
// (`batch-worker`) that reads the name on stdin and answers on stdout with
// one frame; a fresh one per data set.
// Workers share nothing but the database files (SQLite's own locking) and the
// result-file locks; each data set is still claimed by its worker before it
// is computed, so other batches on the same database are respected.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The outcome of one data set in a worker.
struct serienantwort {
    enum class art : char {
        fertig = 'F',    // computed; `text` is what the run printed on stdout
        belegt = 'B',    // held or fixed by another run; not computed
        entfallen = 'L', // no longer in the table
        fehler = 'E',    // the run failed; `text` is the reason
    };
    art status = art::fertig;
    std::string text;
};

// The runner program the workers are started from: by default this process's
// own executable; tests that call the runner in-process set the real one.
std::filesystem::path& serien_programm();

// The number of cores this process may use (at least 1).
int anzahl_kerne();

// Whether worker processes can be started on this system (POSIX); without
// them a batch runs in this process.
bool parallel_verfuegbar();

struct serien_bilanz {
    int gerechnet = 0;
    int uebersprungen = 0;
    std::optional<std::string> fehler;  // reason of the first failed data set
};

// Computes `liste` with up to `jobs` workers at a time, started as
// `serien_programm() argumente...`. Progress goes to `fehler` (each worker's
// stderr lines prefixed with its number, one line per finished data set),
// each computed data set's output to `aus` in one piece. After a failure no
// further data set is handed out; those already running are finished.
serien_bilanz rechne_parallel(const std::vector<std::string>& liste, int jobs,
                              const std::vector<std::string>& argumente, std::ostream& aus,
                              std::ostream& fehler);

// Computes `liste` with up to `jobs` threads of this process at a time, each
// data set by `rechne` in a thread of its own run state (the caller binds it
// inside `rechne`), with the same handing out, order of output and second
// pass for held data sets as the worker processes: each thread's stderr
// lines go to `fehler` prefixed with the data set's number, each computed
// data set's output to `aus` in one piece.
serien_bilanz rechne_in_threads(
    const std::vector<std::string>& liste, int jobs,
    const std::function<serienantwort(const std::string& name, std::ostream& fehler)>& rechne,
    std::ostream& aus, std::ostream& fehler);
// The worker loop: reads names from stdin until it ends, computes each with
// `rechne` and writes the answer frame to stdout. Returns the exit status.
int serien_arbeiter(const std::function<serienantwort(const std::string&)>& rechne);
