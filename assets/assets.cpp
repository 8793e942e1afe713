#include "assets/assets.h"

#include <QFile>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace assets {

QByteArray load(const QString& name)
{
    QFile file(QStringLiteral(":/assets/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

namespace {

struct AheadOfTime
{
    std::mutex mutex;
    std::multimap<QString, std::future<QImage>> pending;
    std::vector<std::thread> workers;

    ~AheadOfTime()
    {
        for (std::thread& worker : workers)
            worker.join();
    }
};

AheadOfTime& ahead()
{
    static AheadOfTime instance;
    return instance;
}

} // namespace

QImage picture(const QString& name, Decoder decode)
{
    std::future<QImage> decoded;
    {
        AheadOfTime& a = ahead();
        const std::lock_guard lock(a.mutex);
        if (const auto it = a.pending.find(name); it != a.pending.end()) {
            decoded = std::move(it->second);
            a.pending.erase(it);
        }
    }
    return decoded.valid() ? decoded.get() : decode(load(name));
}

void decodeAhead(const QList<PictureAhead>& pictures)
{
    std::vector<std::promise<QImage>> promises(static_cast<std::size_t>(pictures.size()));
    AheadOfTime& a = ahead();
    const std::lock_guard lock(a.mutex);
    for (std::size_t i = 0; i < promises.size(); ++i)
        a.pending.emplace(pictures[static_cast<qsizetype>(i)].name, promises[i].get_future());
    a.workers.emplace_back([pictures, promises = std::move(promises)]() mutable {
        for (std::size_t i = 0; i < promises.size(); ++i) {
            const PictureAhead& p = pictures[static_cast<qsizetype>(i)];
            try {
                promises[i].set_value(p.decode(load(p.name)));
            } catch (...) {
                // Handed over as it would have come from decoding on the spot.
                promises[i].set_exception(std::current_exception());
            }
        }
    });
}

} // namespace assets
