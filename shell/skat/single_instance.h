// One running program per user: the first start listens on a local socket
// named after the window title; a later start finds it there, asks it to
// come to the front and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

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
