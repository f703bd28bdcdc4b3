// One running program per user and database: the first start listens on a
// local socket named after the window title and its NavData folder; a later
// start on the same folder finds it there, asks it to come to the front and
// ends, while a start on another folder opens a window of its own.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>

// The key of the program that holds the database of `navDataFolder`: `key`
// and a digest of the folder's canonical path, so that every spelling of a
// folder and every link to it gives the same key.
QString DatabaseInstanceKey(const QString& key, const std::filesystem::path& navDataFolder);

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `key` names the socket; the user's id is added, so that two users of
  // one machine each have their own program.
  explicit SingleInstance(const QString& key, QObject* parent = nullptr);

  // True when a running instance took the request to come to the front.
  bool activateRunning();

  // Becomes the running instance: `activate` is called on this thread for
  // every later start. False when the socket cannot be made.
  bool listen(std::function<void()> activate);

  QString socketName() const { return name_; }

 private:
  QString name_;
  QLocalServer server_;
  std::function<void()> activate_;
};
