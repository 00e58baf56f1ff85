// An unbounded multi-producer queue between threads, with separate sending and
// receiving ends. Sending fails once the receiving end is gone; receiving
// reports the end once every sender is gone and the queue is empty.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace talvo {

namespace detail {

template <typename T>
struct ChannelCore {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<T> items;
    std::size_t senders = 0;
    bool receiver_alive = true;
};

}  // namespace detail

template <typename T>
class Sender {
  public:
    explicit Sender(std::shared_ptr<detail::ChannelCore<T>> core) : core_(std::move(core)) {
        std::lock_guard lock(core_->mutex);
        ++core_->senders;
    }
    Sender(const Sender& other) : Sender(other.core_) {}
    Sender& operator=(const Sender&) = delete;
    Sender(Sender&& other) noexcept = default;
    Sender& operator=(Sender&&) = delete;
    ~Sender() {
        if (!core_) {
            return;
        }
        std::lock_guard lock(core_->mutex);
        --core_->senders;
        core_->ready.notify_all();
    }

    // Queues the value; false (and the value dropped) when the receiver is gone.
    bool send(T value) const {
        {
            std::lock_guard lock(core_->mutex);
            if (!core_->receiver_alive) {
                return false;
            }
            core_->items.push_back(std::move(value));
        }
        core_->ready.notify_one();
        return true;
    }

  private:
    std::shared_ptr<detail::ChannelCore<T>> core_;
};

template <typename T>
class Receiver {
  public:
    explicit Receiver(std::shared_ptr<detail::ChannelCore<T>> core) : core_(std::move(core)) {}
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    Receiver(Receiver&&) noexcept = default;
    Receiver& operator=(Receiver&&) = delete;
    ~Receiver() {
        if (!core_) {
            return;
        }
        std::lock_guard lock(core_->mutex);
        core_->receiver_alive = false;
        core_->items.clear();
    }

    // The next value without waiting, or nothing when the queue is empty.
    std::optional<T> try_receive() const {
        std::lock_guard lock(core_->mutex);
        return pop_locked();
    }

    // Waits for the next value; nothing once every sender is gone and the queue is empty.
    std::optional<T> receive() const {
        std::unique_lock lock(core_->mutex);
        core_->ready.wait(lock, [&] { return !core_->items.empty() || core_->senders == 0; });
        return pop_locked();
    }

  private:
    std::optional<T> pop_locked() const {
        if (core_->items.empty()) {
            return std::nullopt;
        }
        std::optional<T> value(std::move(core_->items.front()));
        core_->items.pop_front();
        return value;
    }

    std::shared_ptr<detail::ChannelCore<T>> core_;
};

template <typename T>
std::pair<Sender<T>, Receiver<T>> make_channel() {
    auto core = std::make_shared<detail::ChannelCore<T>>();
    return {Sender<T>(core), Receiver<T>(core)};
}

}  // namespace talvo
