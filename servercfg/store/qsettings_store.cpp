#include "qsettings_store.h"

#include <QSettings>
#include <QString>

namespace cvarsmith {

namespace {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::unique_ptr<QSettings> openStore() {
#ifdef _WIN32
  return std::make_unique<QSettings>("HKEY_LOCAL_MACHINE\\Software\\Cvarsmith",
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Cvarsmith",
                                     "Cvarsmith");
#endif
}

}  // namespace

QSettingsStore::QSettingsStore() : settings_(openStore()) {}
QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::keyExists() {
  return settings_->status() == QSettings::NoError && !settings_->childKeys().isEmpty();
}

std::optional<std::string> QSettingsStore::readValue(std::string_view name) {
  const QString key = toQString(name);
  if (settings_->status() != QSettings::NoError || !settings_->contains(key)) return std::nullopt;
  return settings_->value(key).toString().toStdString();
}

bool QSettingsStore::writeValue(std::string_view name, const std::string& value, bool createKey) {
  if (!createKey && !keyExists()) return false;
  settings_->setValue(toQString(name), toQString(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

std::optional<std::string> installerExecutablePath() {
#ifdef _WIN32
  QSettings installer("HKEY_LOCAL_MACHINE\\Software\\Id", QSettings::NativeFormat);
  if (installer.status() != QSettings::NoError || !installer.contains("INSTALLEXEPATH")) {
    return std::nullopt;
  }
  return installer.value("INSTALLEXEPATH").toString().toStdString();
#else
  return std::nullopt;
#endif
}

}  // namespace cvarsmith
