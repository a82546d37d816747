#include "platform/secrets/SecretServiceStore.h"

#include <libsecret/secret.h>
#include <sys/stat.h>

#include <cstdlib>
#include <utility>

namespace tessaly {

// The schema is counted: a call given up at the deadline keeps its own
// reference for as long as it lives.
struct SecretServiceStore::Schema {
    Schema(const std::string& name, std::string attributeName)
        : schema(secret_schema_new(name.c_str(), SECRET_SCHEMA_NONE, attributeName.c_str(),
                                   SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr)),
          attribute(std::move(attributeName))
    {
    }
    ~Schema() { secret_schema_unref(schema); }
    Schema(const Schema&) = delete;
    Schema& operator=(const Schema&) = delete;

    SecretSchema* const schema;
    const std::string attribute;
};

namespace {

struct Attributes {
    GHashTable* table = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    Attributes() = default;
    Attributes(const std::string& name, std::string_view value)
    {
        g_hash_table_insert(table, g_strdup(name.c_str()), g_strndup(value.data(), value.size()));
    }
    ~Attributes() { g_hash_table_unref(table); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
};

// A desktop session has its session bus named in the environment or at the
// standard place under the runtime directory. Without one, the store stays
// out of the way: asked anyway, the D-Bus library would autolaunch a bus
// (and with it a keyring daemon) that outlives the program.
bool sessionBusPresent()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0')
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0')
        return false;
    struct stat status {};
    return ::stat((std::string(runtime) + "/bus").c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// False, after clearing it, when the call reported an error.
bool succeeded(GError*& error)
{
    if (error == nullptr)
        return true;
    g_clear_error(&error);
    return false;
}

// Every call runs on this context, the calling thread's default while the
// call waits, so no other work of the process runs inside it and the
// library's connection objects, made on the first call, stay on it.
GMainContext* callContext()
{
    static GMainContext* const context = g_main_context_new();
    return context;
}

// One call on its way. A call given up at the deadline may still finish
// later, whenever the context runs again: its state is then freed by the
// callback instead of the waiter.
struct PendingCall {
    GAsyncResult* result = nullptr;
    bool abandoned = false;

    static void finished(GObject*, GAsyncResult* done, gpointer data)
    {
        auto* call = static_cast<PendingCall*>(data);
        if (call->abandoned)
            delete call;
        else
            call->result = G_ASYNC_RESULT(g_object_ref(done));
    }
};

gboolean deadlinePassed(gpointer expired)
{
    *static_cast<bool*>(expired) = true;
    return G_SOURCE_REMOVE;
}

using Ready = GAsyncReadyCallback;

// Starts an asynchronous call with start(cancellable, callback, data) and
// waits for it until the deadline; then cancels it and marks the store
// unanswered. The call's result (for the caller to unref), or nullptr when
// it did not finish in time.
template <typename Start>
GAsyncResult* callWithDeadline(bool& unanswered, Start start)
{
    GMainContext* context = callContext();
    g_main_context_push_thread_default(context);
    GCancellable* cancellable = g_cancellable_new();
    auto* call = new PendingCall;
    start(cancellable, &PendingCall::finished, call);

    bool expired = false;
    GSource* deadline = g_timeout_source_new(static_cast<guint>(kSecretServiceDeadlineMs));
    g_source_set_callback(deadline, &deadlinePassed, &expired, nullptr);
    g_source_attach(deadline, context);
    while (call->result == nullptr && !expired)
        g_main_context_iteration(context, TRUE);
    g_source_destroy(deadline);
    g_source_unref(deadline);

    GAsyncResult* result = call->result;
    if (result == nullptr) {
        g_cancellable_cancel(cancellable);
        // A cancelled call usually reports at once; one stuck behind the
        // daemon's prompt is left to finish on its own.
        while (call->result == nullptr && g_main_context_iteration(context, FALSE)) {
        }
        if (call->result != nullptr)
            g_object_unref(call->result);
        else
            call->abandoned = true;
        unanswered = true;
    }
    if (!call->abandoned)
        delete call;
    g_object_unref(cancellable);
    g_main_context_pop_thread_default(context);
    return result;
}

// The result's owner for the scope of a finish call.
struct Finished {
    explicit Finished(GAsyncResult* done) : result(done) {}
    ~Finished()
    {
        if (result != nullptr)
            g_object_unref(result);
    }
    Finished(const Finished&) = delete;
    Finished& operator=(const Finished&) = delete;
    GAsyncResult* const result;
};

} // namespace

SecretServiceStore::SecretServiceStore(const std::string& schema, std::string attribute, std::string label)
    : schema_(std::make_unique<Schema>(schema, std::move(attribute))), label_(std::move(label))
{
}

SecretServiceStore::~SecretServiceStore() = default;

bool SecretServiceStore::available() const
{
    return !unanswered_ && sessionBusPresent();
}

std::optional<std::string> SecretServiceStore::find(std::string_view account)
{
    if (!available())
        return std::nullopt;
    const Attributes attributes(schema_->attribute, account);
    const Finished done{callWithDeadline(unanswered_, [&](GCancellable* cancel, Ready ready, gpointer data) {
        secret_password_lookupv(schema_->schema, attributes.table, cancel, ready, data);
    })};
    if (done.result == nullptr)
        return std::nullopt;
    GError* error = nullptr;
    SecretValue* value = secret_password_lookup_binary_finish(done.result, &error);
    if (!succeeded(error) || value == nullptr)
        return std::nullopt;
    gsize length = 0;
    const gchar* bytes = secret_value_get(value, &length);
    std::string secret(bytes, length);
    secret_value_unref(value);
    return secret;
}

bool SecretServiceStore::keep(std::string_view account, std::string_view secret)
{
    if (!forgetAll())
        return false;
    const Attributes attributes(schema_->attribute, account);
    SecretValue* value = secret_value_new(secret.data(), static_cast<gssize>(secret.size()),
                                          "application/octet-stream");
    const Finished done{callWithDeadline(unanswered_, [&](GCancellable* cancel, Ready ready, gpointer data) {
        secret_password_storev_binary(schema_->schema, attributes.table, SECRET_COLLECTION_DEFAULT, label_.c_str(),
                                      value, cancel, ready, data);
    })};
    secret_value_unref(value);
    if (done.result == nullptr)
        return false;
    GError* error = nullptr;
    const gboolean stored = secret_password_store_finish(done.result, &error);
    return succeeded(error) && stored;
}

bool SecretServiceStore::forgetAll()
{
    if (!available())
        return false;
    // No attributes: every item of the schema, whichever account it names.
    const Attributes none;
    const Finished done{callWithDeadline(unanswered_, [&](GCancellable* cancel, Ready ready, gpointer data) {
        secret_password_clearv(schema_->schema, none.table, cancel, ready, data);
    })};
    if (done.result == nullptr)
        return false;
    GError* error = nullptr;
    secret_password_clear_finish(done.result, &error);
    return succeeded(error);
}

} // namespace tessaly
