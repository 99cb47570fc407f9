#pragma once

#include <QString>
#include <QUrl>

#include <memory>

#include "playback/VLCTime.h"
#include "recordings/ORVMedia.h"

namespace zentrova {

// A media item for a file: its location and, once the player knows it, its length.
class VLCMedia {
public:
    static std::shared_ptr<VLCMedia> mediaWithPath(const QString& path);

    const QString& path() const { return m_path; }
    QUrl url() const { return QUrl::fromLocalFile(m_path); }
    VLCTime length() const { return m_length; }
    void setLength(VLCTime length) { m_length = length; }

    ORVMediaDirection mediaDirection() const;
    bool isFrontMedia() const { return mediaDirection() == ORVMediaDirectionFront; }
    bool isRearMedia() const { return mediaDirection() == ORVMediaDirectionRear; }

private:
    explicit VLCMedia(QString path) : m_path(std::move(path)) {}
    QString m_path;
    VLCTime m_length;
};

}  // namespace zentrova
