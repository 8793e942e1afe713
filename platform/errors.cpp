#include "platform/errors.h"

namespace platform {

QString formatMessage(const QString& pattern, std::initializer_list<QString> args)
{
    QString out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' &&
            next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace platform
