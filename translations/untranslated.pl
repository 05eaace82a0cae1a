#!/usr/bin/perl
# Lists every fixed Japanese text in the program's sources that korvel_en.ts
# does not translate, each with where it is and a line ready to fill in and
# add to the .ts file; ends with status 1 when there is any.
#   perl translations/untranslated.pl [source folder]
# A text's key leaves out its leading white space, as the program's lookup
# does. The design check's findings and the import's reasons carry their
# English beside them and are not listed.
use strict;
use warnings;
use File::Find;

binmode STDOUT, ':encoding(UTF-8)';
my $root = shift // '.';
my $japanese = qr/[\p{Hiragana}\p{Katakana}\p{Han}\x{3001}-\x{303F}\x{FF00}-\x{FFEF}]/;
my @folders = map { "$root/$_" } qw(app core windows model smi tools);
my %skip = map { ("$root/$_" => 1) } qw(model/designcheck.cpp smi/import.cpp);

sub xml_decode {
    my ($text) = @_;
    $text =~ s/&#x([0-9a-fA-F]+);/chr(hex $1)/ge;
    $text =~ s/&#(\d+);/chr($1)/ge;
    my %named = (amp => '&', lt => '<', gt => '>', quot => '"', apos => "'");
    $text =~ s/&(amp|lt|gt|quot|apos);/$named{$1}/g;
    return $text;
}

sub xml_encode {
    my ($text) = @_;
    $text =~ s/&/&amp;/g;
    $text =~ s/</&lt;/g;
    $text =~ s/>/&gt;/g;
    $text =~ s/\n/&#xa;/g;
    return $text;
}

my %translated;
my $ts = "$root/translations/korvel_en.ts";
open my $in, '<:encoding(UTF-8)', $ts or die "$ts: $!\n";
while (<$in>) {
    next unless m{<source>(.*?)</source>\s*<translation(\s+type="\w+")?>(.*?)</translation>};
    $translated{xml_decode($1)} = 1 if !defined $2 && $3 ne '';
}
close $in;

my (@missing, %seen);
find({ no_chdir => 1, wanted => sub {
    return unless /\.(?:cpp|h)$/ && !$skip{$File::Find::name};
    open my $file, '<:encoding(UTF-8)', $_ or die "$_: $!\n";
    my $code = do { local $/; <$file> };
    close $file;
    # String literals outside comments, with the line each starts on.
    while ($code =~ m{\G(?:"((?:[^"\\\n]|\\.)*)"|'(?:[^'\\\n]|\\.)*'|//[^\n]*|/\*.*?\*/|.)}gs) {
        next unless defined $1;
        my ($literal, $start) = ($1, $-[0]);
        next unless $literal =~ $japanese;
        my %escape = (n => "\n", t => "\t", r => "\r", '"' => '"', '\\' => '\\', "'" => "'");
        $literal =~ s{\\(.)}{$escape{$1} // $1}ge;
        (my $key = $literal) =~ s/^\s+//;
        next if $translated{$key} || $seen{$key}++;
        my $line = 1 + (substr($code, 0, $start) =~ tr/\n//);
        (my $where = $File::Find::name) =~ s{^\Q$root\E/}{};
        push @missing, [$where, $line, $key];
    }
} }, grep { -d } @folders);

for my $entry (sort { $a->[0] cmp $b->[0] || $a->[1] <=> $b->[1] } @missing) {
    my ($where, $line, $key) = @$entry;
    printf "%s:%d: %s\n    <message><source>%s</source><translation></translation></message>\n",
           $where, $line, $key =~ s/\n/\\n/gr, xml_encode($key);
}
printf "%d text(s) without an English translation in translations/korvel_en.ts\n", scalar @missing if @missing;
exit(@missing ? 1 : 0);
