#include "skins/skinstore.h"

#include "platform/errors.h"

namespace skins {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection* collection, int id)
    : m_collection(collection), m_id(id), m_name(QStringLiteral("SkinItem%1").arg(id))
{}

void TSkinCollectionItem::setName(const QString& name)
{
    if (name == m_name)
        return;
    if (m_collection->findName(name))
        throw platform::EError(
            platform::formatMessage(QStringLiteral("The name %s is already used."), {name}));
    m_name = name;
}

TSkinCollectionItem& TSkinCollection::Add()
{
    // A default name taken by a renamed item moves on to the next free ID.
    while (findName(QStringLiteral("SkinItem%1").arg(m_nextId)))
        ++m_nextId;
    m_items.push_back(std::make_unique<TSkinCollectionItem>(this, m_nextId++));
    return *m_items.back();
}

const TSkinCollectionItem* TSkinCollection::findName(const QString& name) const
{
    for (const auto& item : m_items)
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

} // namespace skins
