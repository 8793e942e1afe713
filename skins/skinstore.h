#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

namespace skins {

class TSkinCollection;

/// One stored skin file.
class TSkinCollectionItem
{
public:
    TSkinCollectionItem(TSkinCollection* collection, int id);

    int ID() const { return m_id; }
    const QString& Name() const { return m_name; }
    /// Raises EError "The name %s is already used." when another item has the name.
    void setName(const QString& name);

    QByteArray DataStream;
    qsizetype DataSize() const { return DataStream.size(); }
    static QString SkinData() { return QStringLiteral("Load Skin"); }

private:
    TSkinCollection* m_collection;
    int m_id;
    QString m_name;
};

class TSkinCollection
{
public:
    /// A new item named "SkinItem" followed by its ID.
    TSkinCollectionItem& Add();
    int Count() const { return int(m_items.size()); }
    TSkinCollectionItem& Items(int index) { return *m_items.at(std::size_t(index)); }
    const TSkinCollectionItem* findName(const QString& name) const;

private:
    std::vector<std::unique_ptr<TSkinCollectionItem>> m_items;
    int m_nextId = 0;
};

/// A non-visual component holding further skins.
class TSkinStore : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    TSkinCollection Store;
};

} // namespace skins
