#include "agentcore/CurlHttpRequest.h"

#include <QStringDecoder>
#include <algorithm>
#include <chrono>
#include <curl/curl.h>
#include <mutex>

namespace {

using SteadyClock = std::chrono::steady_clock;

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the callbacks of one transfer share.
struct Transfer
{
    QByteArray* body = nullptr;
    bool tooLarge = false;

    int sendMs = 0;
    int receiveMs = 0;
    bool connected = false;
    curl_off_t lastDown = 0;
    curl_off_t lastUp = 0;
    SteadyClock::time_point lastMove;
    bool stalled = false;
    const std::atomic<bool>* cancelled = nullptr;
};

size_t onData(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    if (qsizetype(t->body->size() + length) > CurlHttpRequest::kMaxBodyBytes) {
        t->tooLarge = true;
        return 0; // anything short of length aborts the transfer
    }
    t->body->append(data, qsizetype(length));
    return length;
}

// Called once the connection stands (new or reused), right before the request goes out: from
// here on the stall clock runs; before it the connection time-out is in charge.
int onConnected(void* user, char*, char*, int, int)
{
    auto* t = static_cast<Transfer*>(user);
    t->connected = true;
    t->lastMove = SteadyClock::now();
    return CURL_PREREQFUNC_OK;
}

int onProgress(void* user, curl_off_t, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow)
{
    auto* t = static_cast<Transfer*>(user);
    const auto now = SteadyClock::now();
    if (*t->cancelled)
        return 1;
    if (!t->connected)
        return 0;
    if (downNow != t->lastDown || upNow != t->lastUp) {
        t->lastDown = downNow;
        t->lastUp = upNow;
        t->lastMove = now;
        return 0;
    }
    const bool sending = upTotal > 0 && upNow < upTotal;
    const auto limit = std::chrono::milliseconds(sending ? t->sendMs : t->receiveMs);
    if (now - t->lastMove >= limit) {
        t->stalled = true;
        return 1;
    }
    return 0;
}

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

QByteArray charsetOf(const QByteArray& contentType)
{
    for (QByteArray part : contentType.split(';')) {
        part = part.trimmed();
        if (part.toLower().startsWith("charset=")) {
            QByteArray value = part.mid(8).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

} // namespace

CurlHttpRequest::CurlHttpRequest()
{
    initCurlOnce();
    m_curl = curl_easy_init();
}

CurlHttpRequest::~CurlHttpRequest()
{
    if (m_curl)
        curl_easy_cleanup(static_cast<CURL*>(m_curl));
}

void CurlHttpRequest::open(const QString& method, const QString& url)
{
    m_method = method.toUpper().toLatin1();
    m_url = url.toUtf8();
    m_headers.clear();
    m_refusal.clear();
    m_status = 0;
    m_body.clear();
    m_contentType.clear();
    m_errorText.clear();
    m_timedOut = false;
    if (m_method.isEmpty() || !std::all_of(m_method.begin(), m_method.end(), isTokenChar))
        m_refusal = QStringLiteral("invalid method \"%1\"").arg(method);
    // libcurl would guess http for an address without a scheme, sending a half-set-up request
    // to whatever host its first segment names.
    const QString lower = url.toLower();
    if (!lower.startsWith(QLatin1String("http://")) && !lower.startsWith(QLatin1String("https://")))
        m_refusal = QStringLiteral("not an http or https address: \"%1\"").arg(url);
}

void CurlHttpRequest::setRequestHeader(const QString& name, const QString& value)
{
    const QByteArray n = name.toLatin1();
    const QByteArray v = value.toUtf8();
    // A line break in a value taken from a server's answer would smuggle in headers of its own.
    if (n.isEmpty() || !std::all_of(n.begin(), n.end(), isTokenChar) || v.contains('\r') ||
        v.contains('\n') || v.contains('\0')) {
        m_refusal = QStringLiteral("invalid header \"%1\"").arg(name);
        return;
    }
    m_headers.append(n + ": " + v);
}

void CurlHttpRequest::setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs)
{
    m_resolveMs = qMax(0, resolveMs);
    m_connectMs = connectMs > 0 ? connectMs : kDefaultTimeoutMs;
    m_sendMs = sendMs > 0 ? sendMs : kDefaultTimeoutMs;
    m_receiveMs = receiveMs > 0 ? receiveMs : kDefaultTimeoutMs;
}

bool CurlHttpRequest::fail(const QString& why)
{
    m_status = 0;
    m_body.clear();
    m_contentType.clear();
    m_errorText = why;
    return false;
}

bool CurlHttpRequest::send(const QByteArray& body)
{
    if (!m_curl)
        return fail(QStringLiteral("libcurl could not be initialised"));
    if (m_url.isEmpty())
        return fail(QStringLiteral("no request opened"));
    if (!m_refusal.isEmpty())
        return fail(m_refusal);
    if (m_cancelled)
        return fail(QStringLiteral("cancelled"));

    CURL* curl = static_cast<CURL*>(m_curl);
    curl_easy_reset(curl); // keeps the connection cache, so keep-alive still works

    m_status = 0;
    m_body.clear();
    m_contentType.clear();
    m_errorText.clear();
    m_timedOut = false;

    Transfer transfer;
    transfer.body = &m_body;
    transfer.sendMs = m_sendMs;
    transfer.receiveMs = m_receiveMs;
    transfer.cancelled = &m_cancelled;

    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_URL, m_url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kMaxBodyBytes));

    const long connectMs = long(m_resolveMs) + long(m_connectMs);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, connectMs + long(m_sendMs) + long(m_receiveMs));

    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

    if (m_method == "GET" && body.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else if (m_method == "HEAD") {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    } else {
        if (m_method == "POST" || !body.isEmpty()) {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
            curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.constData());
        }
        if (m_method != "POST")
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, m_method.constData());
    }

    curl_slist* headers = nullptr;
    for (const QByteArray& header : std::as_const(m_headers))
        headers = curl_slist_append(headers, header.constData());
    headers = curl_slist_append(headers, "Expect:"); // no 100-continue round trip
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(headers);

    if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        return fail(QStringLiteral("answer larger than %1 bytes refused").arg(kMaxBodyBytes));
    if (m_cancelled)
        return fail(QStringLiteral("cancelled"));
    m_timedOut = transfer.stalled || result == CURLE_OPERATION_TIMEDOUT;
    if (transfer.stalled)
        return fail(QStringLiteral("no data moved within the time-out"));
    if (result != CURLE_OK) {
        const QString detail = QString::fromUtf8(errorBuffer);
        return fail(detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(result)) : detail);
    }

    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    m_status = int(code);
    m_contentType = contentType ? QByteArray(contentType) : QByteArray();
    return true;
}

QString CurlHttpRequest::responseText() const
{
    const QByteArray charset = charsetOf(m_contentType);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(m_body);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    return utf8.decode(m_body);
}
