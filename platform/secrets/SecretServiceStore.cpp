#include "platform/secrets/SecretServiceStore.h"

#include <libsecret/secret.h>
#include <sys/stat.h>

#include <cstdlib>

namespace tessaly {

struct SecretServiceStore::Schema {
    std::string name;
    std::string attribute;
    SecretSchema schema{};
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

} // namespace

SecretServiceStore::SecretServiceStore(std::string schema, std::string attribute, std::string label)
    : schema_(std::make_unique<Schema>()), label_(std::move(label))
{
    schema_->name = std::move(schema);
    schema_->attribute = std::move(attribute);
    schema_->schema.name = schema_->name.c_str();
    schema_->schema.flags = SECRET_SCHEMA_NONE;
    schema_->schema.attributes[0] = {schema_->attribute.c_str(), SECRET_SCHEMA_ATTRIBUTE_STRING};
}

SecretServiceStore::~SecretServiceStore() = default;

std::optional<std::string> SecretServiceStore::find(std::string_view account)
{
    if (!sessionBusPresent())
        return std::nullopt;
    const Attributes attributes(schema_->attribute, account);
    GError* error = nullptr;
    SecretValue* value = secret_password_lookupv_binary_sync(&schema_->schema, attributes.table, nullptr, &error);
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
    GError* error = nullptr;
    const gboolean stored = secret_password_storev_binary_sync(&schema_->schema, attributes.table,
                                                               SECRET_COLLECTION_DEFAULT, label_.c_str(), value,
                                                               nullptr, &error);
    secret_value_unref(value);
    return succeeded(error) && stored;
}

bool SecretServiceStore::forgetAll()
{
    if (!sessionBusPresent())
        return false;
    // No attributes: every item of the schema, whichever account it names.
    const Attributes none;
    GError* error = nullptr;
    secret_password_clearv_sync(&schema_->schema, none.table, nullptr, &error);
    return succeeded(error);
}

} // namespace tessaly
