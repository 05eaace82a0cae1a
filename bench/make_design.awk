# Prints a design file of 1000 objects: 100 units, each a node with four
# scalars (an enumeration, a range, two strings) and a table whose entry has
# three columns, the first an INDEX with a range. CR LF line ends, every
# section 1000 lines, as the program writes it.
#   awk -f bench/make_design.awk > big.mdf
function line(text) { printf "%s\r\n", text }
function tree(name, id, parent, kind) { trees[nt++] = name "," length(name) "," id "," parent "," kind ",1" }
function attr(owner, syntax, constraint, access, text, key) {
    attrs[na++] = owner "," syntax "," constraint "," access "," text "," length(text) "," key ",1"
}
BEGIN {
    nt = na = nr = nl = 0
    for (g = 1; g <= 100; g++) {
        base = nt
        tree("unit" g, g, -1, 1)
        for (n = 1; n <= 4; n++) {
            slot = nt
            tree("unit" g "Value" n, n, base, 4)
            text = "Value " n " of unit " g " kept by the agent"
            if (n == 1) {
                attr(slot, 2, 2, 1, text, 0)
                lists[nl++] = slot ",enabled,7,1,1"
                lists[nl++] = slot ",disabled,8,2,1"
            } else if (n == 3) {
                attr(slot, 2, 1, 2, text, 0)
                ranges[nr++] = slot ",1,65535,1,5,1"
            } else {
                attr(slot, 4, 0, n % 2 ? 1 : 2, text, 0)
            }
        }
        table = nt
        tree("port" g "Table", 5, base, 2)
        attr(table, 0, 0, 3, "The ports of unit " g, 0)
        entry = nt
        tree("port" g "Entry", 1, table, 3)
        attr(entry, 0, 0, 3, "One port", 0)
        slot = nt
        tree("port" g "Index", 1, entry, 4)
        attr(slot, 2, 1, 1, "The port number", 1)
        ranges[nr++] = slot ",1,64,1,2,1"
        slot = nt
        tree("port" g "Kind", 2, entry, 4)
        attr(slot, 6, 0, 1, "The kind of port", 0)
        slot = nt
        tree("port" g "Speed", 3, entry, 4)
        attr(slot, 66, 0, 1, "Speed in bits per second", 0)
    }
    line("<MibTree>");      for (i = 0; i < 1000; i++) line(i < nt ? trees[i] : ",0,0,0,0,0");           line("</MibTree>")
    line("<MibAttribute>"); for (i = 0; i < 1000; i++) line(i < na ? attrs[i] : "0,0,0,0,,0,0,0");       line("</MibAttribute>")
    line("<MibRange>");     for (i = 0; i < 1000; i++) line(i < nr ? ranges[i] : "0,,,0,0,0");           line("</MibRange>")
    line("<MibList>");      for (i = 0; i < 1000; i++) line(i < nl ? lists[i] : "0,,0,0,0");             line("</MibList>")
}
