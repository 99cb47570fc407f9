#include "settings/ORVSettingControllerDelegate.h"

namespace zentrova {

ORVSettingControllerDelegate::ORVSettingControllerDelegate(QWidget* parent) : QWidget(parent) {}

void ORVSettingControllerDelegate::setFileData(FILEDATA* fileData) {
    m_fileData = fileData;
    if (m_fileData) displayFileData();
}

bool ORVSettingControllerDelegate::populate() {
    if (!m_fileData || validateUserInput()) return false;
    return storeFileData(*m_fileData);
}

}  // namespace zentrova
