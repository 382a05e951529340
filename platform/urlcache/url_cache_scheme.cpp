// The interceptor and scheme handler in front of the URL cache.
#include "platform/urlcache/url_cache_scheme.h"

#include <QDateTime>
#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace vestra::urlcache {

namespace {

constexpr char kScheme[] = "vestra-cache";

std::int64_t now() {
  return QDateTime::currentSecsSinceEpoch();
}

QByteArray mime_type(const QString& name) {
  const QString lower = name.toLower();
  if (lower.endsWith(".gif")) return "image/gif";
  if (lower.endsWith(".png")) return "image/png";
  if (lower.endsWith(".jpg") || lower.endsWith(".jpeg")) return "image/jpeg";
  if (lower.endsWith(".bmp")) return "image/bmp";
  if (lower.endsWith(".css")) return "text/css";
  return "application/octet-stream";
}

}  // namespace

void register_cache_scheme() {
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

void CacheInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  if (url.scheme() != "http" && url.scheme() != "https") return;
  auto name = cache_.entry_name(url.toString().toStdString(), now());
  if (name) info.redirect(QUrl(QString(kScheme) + ":/" + QString::fromStdString(*name)));
}

void CacheSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const QString name = job->requestUrl().path().section('/', -1);
  auto path = cache_.file_of_name(name.toStdString(), now());
  if (!path) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* file = new QFile(QString::fromStdString(*path), job);
  if (!file->open(QIODevice::ReadOnly)) {
    job->fail(QWebEngineUrlRequestJob::RequestFailed);
    return;
  }
  job->reply(mime_type(name), file);
}

void serve_cache(QWebEngineProfile* profile, const UrlCache& cache) {
  if (profile->urlSchemeHandler(kScheme)) return;
  profile->setUrlRequestInterceptor(new CacheInterceptor(cache, profile));
  profile->installUrlSchemeHandler(kScheme, new CacheSchemeHandler(cache, profile));
}

}  // namespace vestra::urlcache
