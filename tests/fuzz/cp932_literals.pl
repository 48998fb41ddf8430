#!/usr/bin/perl
# Copies a UTF-8 C++ source with every non-ASCII character written as the \x escapes of its
# code page 932 bytes. clang has no -fexec-charset for that page, and raw Shift-JIS bytes in
# a source break literals whose trail byte is a backslash (ソ is 0x83 0x5C); escapes keep
# every narrow literal exactly as the product's compilers store it.
# Usage: cp932_literals.pl <input> <output>
use strict;
use warnings;
use Encode qw(decode encode);

my ($input, $output) = @ARGV;
die "usage: $0 <input> <output>\n" unless defined $output;
open(my $in, '<:raw', $input) or die "$input: $!\n";
my $text = decode('UTF-8', do { local $/; <$in> }, Encode::FB_CROAK);
close $in;

my $escaped = '';
my @chars = split //, $text;
for (my $i = 0; $i < @chars; ++$i) {
    my $char = $chars[$i];
    if (ord($char) < 0x80) {
        $escaped .= $char;
        next;
    }
    my $bytes = encode('cp932', $char, Encode::FB_CROAK);
    $escaped .= join('', map { sprintf('\\x%02x', ord $_) } split //, $bytes);
    # A hexadecimal digit right after an escape would extend it: close and reopen the literal.
    $escaped .= '""' if $i + 1 < @chars && $chars[$i + 1] =~ /^[0-9A-Fa-f]$/;
}

open(my $out, '>:raw', "$output.part") or die "$output: $!\n";
print $out $escaped;
close $out or die "$output: $!\n";
rename("$output.part", $output) or die "$output: $!\n";
