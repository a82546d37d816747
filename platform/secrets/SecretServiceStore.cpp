#include "platform/secrets/SecretServiceStore.h"

#include <libsecret/secret.h>

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
    // No attributes: every item of the schema, whichever account it names.
    const Attributes none;
    GError* error = nullptr;
    secret_password_clearv_sync(&schema_->schema, none.table, nullptr, &error);
    return succeeded(error);
}

} // namespace tessaly
