#include "document/recovery_copy.h"

#include "files/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

namespace quillet {

namespace {

const QString CopyName = QStringLiteral("unsaved-document.txt");
const QString LockName = QStringLiteral("unsaved-document.lock");

} // namespace

RecoveryCopy::RecoveryCopy(QString folder) : folder_(std::move(folder)) {}

RecoveryCopy::~RecoveryCopy() = default;

QString RecoveryCopy::path() const {
    return QDir(folder_).filePath(CopyName);
}

QString RecoveryCopy::lockPath() const {
    return QDir(folder_).filePath(LockName);
}

RecoveryCopy::Claim RecoveryCopy::claim() {
    if (lock_)
        return Claim::Claimed;
    if (!QDir().mkpath(folder_))
        return Claim::Failed;
    auto lock = std::make_unique<QLockFile>(lockPath());
    // The lock is held for as long as the program runs: its age says nothing about whether
    // its owner still lives, only the owner's process does.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return Claim::Claimed;
    }
    return lock->error() == QLockFile::LockFailedError ? Claim::HeldByAnother : Claim::Failed;
}

std::optional<std::string> RecoveryCopy::leftOver() const {
    // Only a regular file: anything else put there is not a copy this program wrote.
    const QFileInfo info(path());
    if (!info.isFile())
        return std::nullopt;
    std::optional<std::string> text = readTextFile(nativePath(path()));
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

bool RecoveryCopy::store(std::string_view bytes) {
    if (!lock_)
        return false;
    if (bytes.empty()) {
        QFile file(path());
        return !file.exists() || file.remove();
    }
    return replaceFile(path(), bytes);
}

class RecoveryWriter::Thread : public QThread {
public:
    Thread(RecoveryCopy& copy, Done done) : copy_(copy), done_(std::move(done)) {}

    void submit(Snapshot snapshot) {
        const QMutexLocker locker(&mutex_);
        waiting_ = std::move(snapshot);
        wake_.wakeOne();
    }
    void waitUntilIdle() {
        QMutexLocker locker(&mutex_);
        while (waiting_ || writing_)
            idle_.wait(&mutex_);
    }
    void stop() {
        {
            const QMutexLocker locker(&mutex_);
            stopping_ = true;
            wake_.wakeOne();
        }
        wait();
    }

protected:
    void run() override {
        for (;;) {
            Snapshot snapshot;
            {
                QMutexLocker locker(&mutex_);
                while (!waiting_ && !stopping_)
                    wake_.wait(&mutex_);
                if (!waiting_)
                    return;
                snapshot = std::move(waiting_);
                waiting_ = nullptr;
                writing_ = true;
            }
            const bool written = copy_.store(snapshot());
            {
                const QMutexLocker locker(&mutex_);
                writing_ = false;
                if (!waiting_)
                    idle_.wakeAll();
            }
            if (done_)
                done_(written);
        }
    }

private:
    RecoveryCopy& copy_;
    Done done_;
    QMutex mutex_;
    QWaitCondition wake_;
    QWaitCondition idle_;
    Snapshot waiting_;
    bool writing_ = false;
    bool stopping_ = false;
};

RecoveryWriter::RecoveryWriter(RecoveryCopy& copy, Done done)
    : thread_(std::make_unique<Thread>(copy, std::move(done))) {
    thread_->start(QThread::LowPriority);
}

RecoveryWriter::~RecoveryWriter() {
    thread_->stop();
}

void RecoveryWriter::submit(Snapshot snapshot) {
    thread_->submit(std::move(snapshot));
}

void RecoveryWriter::waitUntilIdle() {
    thread_->waitUntilIdle();
}

} // namespace quillet
