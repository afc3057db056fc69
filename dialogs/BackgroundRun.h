#pragma once
// One piece of work at a time on a thread of its own, for a window that must
// not wait for it. Starting the next piece cancels the one running; what a
// cancelled piece still posts is never delivered, so a window never sees a
// result of a state it has left. Old threads are joined as they end, and all
// of them when the run is destroyed.

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <thread>

class BackgroundRun : public QObject {
    Q_OBJECT
public:
    // Hands `deliver` to the window's thread; it runs there only while the
    // piece that posted it is still the current one.
    using Post = std::function<void(std::function<void()> deliver)>;
    using Work = std::function<void(const std::atomic<bool>& cancel, const Post& post)>;

    explicit BackgroundRun(QObject* parent = nullptr);
    ~BackgroundRun() override;

    // Cancels the current piece and starts `work` on a new thread.
    void Start(Work work);
    // Sets the current piece's cancel flag; nothing it posts is delivered after this.
    void Cancel();
    // Whether a piece that has not been cancelled is still running.
    bool Running() const;
    // Threads started and not yet joined (the current one and cancelled ones ending).
    int Threads() const { return static_cast<int>(pieces_.size()); }

private:
    struct Piece {
        std::uint64_t generation = 0;
        std::atomic<bool> cancel{false};
        std::atomic<bool> ended{false};
        std::thread thread;
    };
    void Reap(std::uint64_t generation);

    std::list<std::unique_ptr<Piece>> pieces_;
    std::uint64_t current_ = 0;  // the generation whose posts are delivered; 0: none
    std::uint64_t next_ = 1;
};
