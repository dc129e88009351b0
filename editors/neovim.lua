-- Tarnu for Simplicity (*.simf) in Neovim 0.10+: source this file from init.lua.
local launcher = "/path/to/build/tarnu-lsp"

vim.filetype.add({ extension = { simf = "simplicity" } })

vim.api.nvim_create_autocmd("FileType", {
  pattern = "simplicity",
  callback = function(event)
    vim.bo[event.buf].commentstring = "// %s"
    vim.lsp.start({
      name = "tarnu",
      cmd = { launcher, "--stdio" },
      root_dir = vim.fs.root(event.buf, { ".git" }) or vim.fn.getcwd(),
    })
  end,
})
