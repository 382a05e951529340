// Serving the URL cache to QtWebEngine: requests for cached URLs are
// redirected to the "vestra-cache:" scheme, whose handler answers with the
// entry's file, so pages show cached images without any network access.
#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

#include "platform/urlcache/url_cache.h"

class QWebEngineProfile;

namespace vestra::urlcache {

// Must run before the QApplication is created.
void register_cache_scheme();

class CacheInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  CacheInterceptor(const UrlCache& cache, QObject* parent)
      : QWebEngineUrlRequestInterceptor(parent), cache_(cache) {}
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  const UrlCache& cache_;
};

class CacheSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  CacheSchemeHandler(const UrlCache& cache, QObject* parent)
      : QWebEngineUrlSchemeHandler(parent), cache_(cache) {}
  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  const UrlCache& cache_;
};

// Puts both on the profile; the cache must outlive it.
void serve_cache(QWebEngineProfile* profile, const UrlCache& cache);

}  // namespace vestra::urlcache
