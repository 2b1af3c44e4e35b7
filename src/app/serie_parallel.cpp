#include "app/serie_parallel.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "lang/sprache.h"

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

namespace txt {
constexpr text_paar gerechnet{": gerechnet", ": computed"};
constexpr text_paar uebersprungen{": übersprungen (von einem anderen Lauf gerechnet)",
                                  ": skipped (computed by another run)"};
constexpr text_paar gescheitert{": gescheitert", ": failed"};
constexpr text_paar arbeiter_start{"Arbeitsprozess kann nicht gestartet werden: ",
                                   "worker process cannot be started: "};
constexpr text_paar arbeiter_ende{"Arbeitsprozess unerwartet beendet bei Datensatz ",
                                  "worker process ended unexpectedly at data set "};
constexpr text_paar signal{" (Signal ", " (signal "};
constexpr text_paar status{" (Status ", " (status "};
constexpr text_paar nicht_verfuegbar{"Parallele Serie auf diesem System nicht verfügbar",
                                     "parallel batch not available on this system"};
}  // namespace txt

}  // namespace

std::filesystem::path& serien_programm() {
    static std::filesystem::path p = [] {
#ifdef __linux__
        std::error_code ec;
        auto selbst = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (!ec) return selbst;
#endif
        return std::filesystem::path("varnek-cli");
    }();
    return p;
}

int anzahl_kerne() {
#ifdef __linux__
    cpu_set_t menge;
    if (sched_getaffinity(0, sizeof menge, &menge) == 0) return std::max(1, CPU_COUNT(&menge));
#endif
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool parallel_verfuegbar() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

namespace {

// A stream whose complete lines go to `ziel` prefixed with "[n] ", one line
// at a time under the shared lock, so that the lines of several threads do
// not mix.
class zeilenstrom : public std::streambuf {
public:
    zeilenstrom(std::ostream& ziel, std::mutex& sperre, int nummer) : ziel_(ziel), sperre_(sperre), nummer_(nummer) {}
    ~zeilenstrom() override { raus(true); }

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        zeile_ += static_cast<char>(c);
        if (c == '\n') raus(false);
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        for (std::streamsize i = 0; i < n; ++i) overflow(traits_type::to_int_type(s[i]));
        return n;
    }

private:
    void raus(bool alles) {
        if (zeile_.empty() || (!alles && zeile_.back() != '\n')) return;
        if (zeile_.back() != '\n') zeile_ += '\n';
        const std::lock_guard<std::mutex> halten(sperre_);
        ziel_ << '[' << nummer_ << "] " << zeile_;
        ziel_.flush();
        zeile_.clear();
    }
    std::ostream& ziel_;
    std::mutex& sperre_;
    int nummer_;
    std::string zeile_;
};

}  // namespace

serien_bilanz rechne_in_threads(
    const std::vector<std::string>& liste, int jobs,
    const std::function<serienantwort(const std::string& name, std::ostream& fehler)>& rechne,
    std::ostream& aus, std::ostream& fehler) {
    serien_bilanz bilanz;
    if (liste.empty()) return bilanz;
    std::mutex sperre;                 // the shared state below and the two streams
    std::condition_variable geaendert;
    std::deque<std::string> warteschlange(liste.begin(), liste.end());
    std::vector<std::string> zurueckgestellt;
    struct fertig {
        std::string name;
        serienantwort antwort;
    };
    std::deque<fertig> antworten;
    bool zweiter_durchgang = false, anhalten = false;
    int laufend = 0, naechste_nummer = 0, erledigt = 0;
    const int gesamt = static_cast<int>(liste.size());
    const int n = std::max(1, jobs);

    auto arbeite = [&] {
        std::unique_lock<std::mutex> halten(sperre);
        for (;;) {
            // A worker stays until the batch ends: a second pass may hand out
            // the held data sets again.
            geaendert.wait(halten, [&] { return anhalten || !warteschlange.empty(); });
            if (anhalten) return;
            const std::string name = warteschlange.front();
            warteschlange.pop_front();
            const int nummer = ++naechste_nummer;
            ++laufend;
            halten.unlock();
            serienantwort r;
            {
                zeilenstrom puffer(fehler, sperre, nummer);
                std::ostream f(&puffer);
                try {
                    r = rechne(name, f);
                } catch (const std::exception& e) {
                    r = {serienantwort::art::fehler, e.what()};
                }
            }
            halten.lock();
            --laufend;
            antworten.push_back({name, std::move(r)});
            geaendert.notify_all();
        }
    };

    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) threads.emplace_back(arbeite);
    {
        std::unique_lock<std::mutex> halten(sperre);
        auto zaehler = [&] { return "(" + std::to_string(++erledigt) + "/" + std::to_string(gesamt) + ") "; };
        for (;;) {
            geaendert.wait(halten, [&] {
                return !antworten.empty() || (laufend == 0 && (warteschlange.empty() || anhalten));
            });
            while (!antworten.empty()) {
                const fertig a = std::move(antworten.front());
                antworten.pop_front();
                switch (a.antwort.status) {
                    case serienantwort::art::fertig:
                        ++bilanz.gerechnet;
                        aus << a.antwort.text;
                        aus.flush();
                        fehler << zaehler() << a.name << txt::gerechnet.text() << '\n';
                        break;
                    case serienantwort::art::belegt:
                        if (!zweiter_durchgang) {
                            zurueckgestellt.push_back(a.name);
                            break;
                        }
                        ++bilanz.uebersprungen;
                        fehler << zaehler() << a.name << txt::uebersprungen.text() << '\n';
                        break;
                    case serienantwort::art::entfallen:
                        ++erledigt;
                        break;
                    case serienantwort::art::fehler:
                        fehler << zaehler() << a.name << txt::gescheitert.text() << '\n';
                        if (!bilanz.fehler) bilanz.fehler = a.antwort.text;
                        anhalten = true;
                        break;
                }
            }
            fehler.flush();
            if (laufend == 0 && (warteschlange.empty() || anhalten)) {
                // Data sets another run held when they were handed out are
                // tried once more when everything else is done.
                if (!anhalten && !zweiter_durchgang && !zurueckgestellt.empty()) {
                    zweiter_durchgang = true;
                    warteschlange.assign(zurueckgestellt.begin(), zurueckgestellt.end());
                    zurueckgestellt.clear();
                    geaendert.notify_all();
                    continue;
                }
                anhalten = true;
                geaendert.notify_all();
                break;
            }
        }
    }
    for (auto& t : threads) t.join();
    return bilanz;
}

#ifdef _WIN32

serien_bilanz rechne_parallel(const std::vector<std::string>&, int, const std::vector<std::string>&, std::ostream&,
                              std::ostream&) {
    throw std::runtime_error(txt::nicht_verfuegbar.text());
}

int serien_arbeiter(const std::function<serienantwort(const std::string&)>&) { return 1; }

#else

namespace {

bool schreibe_alles(int fd, const std::string& s) {
    std::size_t n = 0;
    while (n < s.size()) {
        const ssize_t r = ::write(fd, s.data() + n, s.size() - n);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        n += static_cast<std::size_t>(r);
    }
    return true;
}

// Frame of one answer: "<status> <name bytes> <text bytes>\n<name><text>".
std::string rahmen(const std::string& name, const serienantwort& a) {
    return std::string(1, static_cast<char>(a.status)) + ' ' + std::to_string(name.size()) + ' ' +
           std::to_string(a.text.size()) + '\n' + name + a.text;
}

struct arbeiter {
    int nummer = 0;
    pid_t pid = -1;
    int ein = -1;     // its stdin (names)
    int antwort = -1; // its stdout (frames)
    int protokoll = -1; // its stderr (progress)
    std::string antwortpuffer, protokollpuffer;
    std::optional<std::string> in_arbeit;  // name handed out and not answered yet
};

void schliesse(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

arbeiter starte(int nummer, const std::vector<std::string>& argumente) {
    int ein[2], aus[2], err[2];
    if (::pipe2(ein, O_CLOEXEC) != 0) throw std::runtime_error(txt::arbeiter_start.text() + std::strerror(errno));
    if (::pipe2(aus, O_CLOEXEC) != 0) {
        ::close(ein[0]), ::close(ein[1]);
        throw std::runtime_error(txt::arbeiter_start.text() + std::strerror(errno));
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(ein[0]), ::close(ein[1]), ::close(aus[0]), ::close(aus[1]);
        throw std::runtime_error(txt::arbeiter_start.text() + std::strerror(errno));
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    // dup2 onto 0, 1, 2 clears close-on-exec there; every other pipe end
    // closes in the child, so a worker holds no other worker's pipes.
    posix_spawn_file_actions_adddup2(&fa, ein[0], 0);
    posix_spawn_file_actions_adddup2(&fa, aus[1], 1);
    posix_spawn_file_actions_adddup2(&fa, err[1], 2);
    const std::string programm = serien_programm().string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(programm.c_str()));
    for (const auto& a : argumente) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, programm.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(ein[0]), ::close(aus[1]), ::close(err[1]);
    if (rc != 0) {
        ::close(ein[1]), ::close(aus[0]), ::close(err[0]);
        throw std::runtime_error(txt::arbeiter_start.text() + programm + ": " + std::strerror(rc));
    }
    arbeiter a;
    a.nummer = nummer;
    a.pid = pid;
    a.ein = ein[1];
    a.antwort = aus[0];
    a.protokoll = err[0];
    return a;
}

// A complete frame at the front of `puffer`, removed from it.
std::optional<std::pair<std::string, serienantwort>> naechster_rahmen(std::string& puffer) {
    const auto zeilenende = puffer.find('\n');
    if (zeilenende == std::string::npos) return std::nullopt;
    char status = 0;
    std::size_t nl = 0, tl = 0;
    if (std::sscanf(puffer.c_str(), "%c %zu %zu", &status, &nl, &tl) != 3)
        throw std::runtime_error("batch worker: malformed answer");
    if (puffer.size() < zeilenende + 1 + nl + tl) return std::nullopt;
    std::string name = puffer.substr(zeilenende + 1, nl);
    serienantwort a;
    a.status = static_cast<serienantwort::art>(status);
    a.text = puffer.substr(zeilenende + 1 + nl, tl);
    puffer.erase(0, zeilenende + 1 + nl + tl);
    return std::make_pair(std::move(name), std::move(a));
}

// Ignores SIGPIPE while workers run: a worker that died makes writes to its
// pipe fail with EPIPE instead of ending the parent.
struct sigpipe_aus {
    struct sigaction alt {};
    sigpipe_aus() {
        struct sigaction neu {};
        neu.sa_handler = SIG_IGN;
        sigemptyset(&neu.sa_mask);
        sigaction(SIGPIPE, &neu, &alt);
    }
    ~sigpipe_aus() { sigaction(SIGPIPE, &alt, nullptr); }
};

std::string beendet_grund(int st) {
    if (WIFSIGNALED(st)) return txt::signal.text() + std::to_string(WTERMSIG(st)) + ")";
    if (WIFEXITED(st)) return txt::status.text() + std::to_string(WEXITSTATUS(st)) + ")";
    return {};
}

}  // namespace

serien_bilanz rechne_parallel(const std::vector<std::string>& liste, int jobs, const std::vector<std::string>& argumente,
                              std::ostream& aus, std::ostream& fehler) {
    serien_bilanz bilanz;
    if (liste.empty()) return bilanz;
    sigpipe_aus sigpipe;
    std::deque<std::string> warteschlange(liste.begin(), liste.end());
    // Data sets another run held when they were handed out: tried once more
    // when everything else is done (two data sets of this batch writing the
    // same file are then computed one after the other, as in a sequential batch).
    std::vector<std::string> zurueckgestellt;
    bool zweiter_durchgang = false;
    bool anhalten = false;
    const std::size_t n = static_cast<std::size_t>(std::max(1, jobs));
    const int gesamt = static_cast<int>(liste.size());
    int erledigt = 0, naechste_nummer = 0;
    // Each data set is computed by a process of its own: nothing a run leaves
    // in the process-wide engine state reaches the next data set, so the
    // files do not depend on which worker took which data set.
    std::vector<arbeiter> laufend;

    auto beende_alle = [&] {
        for (auto& a : laufend) {
            schliesse(a.ein);
            schliesse(a.antwort);
            schliesse(a.protokoll);
            int st = 0;
            if (a.pid > 0) ::waitpid(a.pid, &st, 0);
        }
        laufend.clear();
    };
    auto protokollzeilen = [&](arbeiter& a, bool alles) {
        std::size_t p;
        while ((p = a.protokollpuffer.find('\n')) != std::string::npos) {
            fehler << '[' << a.nummer << "] " << a.protokollpuffer.substr(0, p) << '\n';
            a.protokollpuffer.erase(0, p + 1);
        }
        if (alles && !a.protokollpuffer.empty()) {
            fehler << '[' << a.nummer << "] " << a.protokollpuffer << '\n';
            a.protokollpuffer.clear();
        }
        fehler.flush();
    };
    auto zaehler = [&] { return "(" + std::to_string(++erledigt) + "/" + std::to_string(gesamt) + ") "; };
    auto antwort = [&](const std::string& name, const serienantwort& r) {
        switch (r.status) {
            case serienantwort::art::fertig:
                ++bilanz.gerechnet;
                aus << r.text;
                aus.flush();
                fehler << zaehler() << name << txt::gerechnet.text() << '\n';
                break;
            case serienantwort::art::belegt:
                if (!zweiter_durchgang) {
                    zurueckgestellt.push_back(name);
                    return;
                }
                ++bilanz.uebersprungen;
                fehler << zaehler() << name << txt::uebersprungen.text() << '\n';
                break;
            case serienantwort::art::entfallen:
                ++erledigt;
                break;
            case serienantwort::art::fehler:
                fehler << zaehler() << name << txt::gescheitert.text() << '\n';
                if (!bilanz.fehler) bilanz.fehler = r.text;
                anhalten = true;
                break;
        }
    };
    auto nachstarten = [&] {
        if (!anhalten && warteschlange.empty() && laufend.empty() && !zweiter_durchgang && !zurueckgestellt.empty()) {
            zweiter_durchgang = true;
            warteschlange.assign(zurueckgestellt.begin(), zurueckgestellt.end());
            zurueckgestellt.clear();
        }
        while (!anhalten && !warteschlange.empty() && laufend.size() < n) {
            laufend.push_back(starte(++naechste_nummer, argumente));
            arbeiter& a = laufend.back();
            a.in_arbeit = warteschlange.front();
            warteschlange.pop_front();
            // One name, then end of input: the worker computes it and ends.
            schreibe_alles(a.ein, *a.in_arbeit + '\n');
            schliesse(a.ein);
        }
    };

    try {
        nachstarten();
        while (!laufend.empty()) {
            std::vector<pollfd> fds;
            std::vector<std::pair<std::size_t, bool>> zu;  // worker, stdout (true) or stderr
            for (std::size_t i = 0; i < laufend.size(); ++i) {
                if (laufend[i].antwort >= 0) fds.push_back({laufend[i].antwort, POLLIN, 0}), zu.emplace_back(i, true);
                if (laufend[i].protokoll >= 0) fds.push_back({laufend[i].protokoll, POLLIN, 0}), zu.emplace_back(i, false);
            }
            if (!fds.empty() && ::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
            }
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                arbeiter& a = laufend[zu[i].first];
                char puffer[65536];
                const ssize_t r = ::read(fds[i].fd, puffer, sizeof puffer);
                if (r < 0 && errno == EINTR) continue;
                if (zu[i].second) {
                    if (r <= 0) {
                        schliesse(a.antwort);
                        continue;
                    }
                    a.antwortpuffer.append(puffer, static_cast<std::size_t>(r));
                    while (auto f = naechster_rahmen(a.antwortpuffer)) {
                        a.in_arbeit.reset();
                        antwort(f->first, f->second);
                    }
                } else {
                    if (r <= 0) {
                        protokollzeilen(a, true);
                        schliesse(a.protokoll);
                        continue;
                    }
                    a.protokollpuffer.append(puffer, static_cast<std::size_t>(r));
                    protokollzeilen(a, false);
                }
            }
            // Workers whose output has ended are reaped; one that ended
            // without an answer failed on its data set.
            for (auto it = laufend.begin(); it != laufend.end();) {
                if (it->antwort >= 0 || it->protokoll >= 0) {
                    ++it;
                    continue;
                }
                int st = 0;
                ::waitpid(it->pid, &st, 0);
                if (it->in_arbeit) {
                    fehler << zaehler() << *it->in_arbeit << txt::gescheitert.text() << '\n';
                    if (!bilanz.fehler) bilanz.fehler = txt::arbeiter_ende.text() + *it->in_arbeit + beendet_grund(st);
                    anhalten = true;
                }
                it = laufend.erase(it);
            }
            nachstarten();
        }
    } catch (...) {
        beende_alle();
        throw;
    }
    return bilanz;
}

int serien_arbeiter(const std::function<serienantwort(const std::string&)>& rechne) {
    std::string name;
    while (std::getline(std::cin, name)) {
        if (name.empty()) continue;
        const serienantwort a = rechne(name);
        std::cerr.flush();
        if (!schreibe_alles(1, rahmen(name, a))) return 1;
    }
    return 0;
}

#endif
