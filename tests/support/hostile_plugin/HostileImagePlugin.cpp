// A Qt image-format plugin that claims PNG pictures: what an ordinary user
// could put in QT_PLUGIN_PATH to run their own code in a root process. Only
// tests build it. Loaded, it leaves a file named LOADED in the folder above
// its own, saying as whom it ran.
#include <dlfcn.h>
#include <unistd.h>

#include <QImageIOPlugin>
#include <fstream>
#include <string>

namespace {

__attribute__((constructor)) void markLoaded() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&markLoaded), &info) || !info.dli_fname) return;
  std::string self = info.dli_fname;
  std::string folder = self.substr(0, self.find_last_of('/'));
  std::ofstream(folder + "/../LOADED") << "euid " << geteuid() << "\n";
}

}  // namespace

class HostileImagePlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "hostile.json")

 public:
  Capabilities capabilities(QIODevice*, const QByteArray&) const override { return {}; }
  QImageIOHandler* create(QIODevice*, const QByteArray&) const override { return nullptr; }
};

#include "HostileImagePlugin.moc"
