#pragma once

#include <optional>
#include <string>

/// A name for a caller from somewhere other than the phonebook, and where it was found.
struct ContactMatch {
    std::string name;
    /// The source as the user knows it ("address book 1 (contacts.vcf)").
    std::string source;
    /// A picture of the contact; empty when it has none.
    std::string picturePath;
};

/// Where the call handler looks for a caller's name when the phonebook has none.
class ContactLookup {
public:
    virtual ~ContactLookup() = default;
    virtual std::optional<ContactMatch> find(const std::string& number) const = 0;
};
